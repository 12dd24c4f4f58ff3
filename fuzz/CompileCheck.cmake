# The fuzz harnesses are built with clang only, so code that clang refuses
# and the ordinary compiler takes would go unnoticed until someone fuzzes.
# These tests compile, syntax only, every source the fuzz build compiles (the
# libraries the harnesses link, and the harnesses) with clang. Qt's headers
# are parsed once into a precompiled header that every test uses.
find_program(KAL_CLANGXX NAMES clang++ clang++-14)
if(NOT KAL_CLANGXX)
  add_test(NAME fuzz_compile COMMAND ${CMAKE_COMMAND} -E echo "clang++ not found: the fuzz sources are not compiled")
  set_tests_properties(fuzz_compile PROPERTIES SKIP_REGULAR_EXPRESSION "not found")
  return()
endif()

set(kal_fuzz_libs platform foundation mapdata plot maplist editing)
set(kal_fc_dir ${CMAKE_BINARY_DIR}/fuzz-compile)
set(kal_fc_incs)
set(kal_fc_defs)
foreach(lib ${kal_fuzz_libs})
  list(APPEND kal_fc_incs "$<TARGET_PROPERTY:${lib},INCLUDE_DIRECTORIES>")
  list(APPEND kal_fc_defs "$<TARGET_PROPERTY:${lib},COMPILE_DEFINITIONS>")
endforeach()
# One set of flags for every file, as the precompiled header needs.
file(GENERATE OUTPUT ${kal_fc_dir}/flags.rsp CONTENT
"-std=c++20
-fPIC
-ferror-limit=20
-D$<JOIN:$<REMOVE_DUPLICATES:${kal_fc_defs}>,
-D>
-I$<JOIN:$<REMOVE_DUPLICATES:${kal_fc_incs}>,
-I>
")
file(WRITE ${kal_fc_dir}/qt.h
"#include <QtCore>\n#include <QtGui>\n#include <QtWidgets>\n#include <QtPrintSupport>\n#include <functional>\n#include <memory>\n#include <vector>\n")

add_test(NAME fuzz_compile_pch
         COMMAND ${KAL_CLANGXX} @${kal_fc_dir}/flags.rsp -x c++-header ${kal_fc_dir}/qt.h -o ${kal_fc_dir}/qt.h.pch)
set_tests_properties(fuzz_compile_pch PROPERTIES FIXTURES_SETUP kal_fuzz_pch)

set(kal_fc_harness_dir ${CMAKE_CURRENT_LIST_DIR})
foreach(lib ${kal_fuzz_libs} harnesses)
  if(lib STREQUAL "harnesses")
    file(GLOB kal_fc_sources CONFIGURE_DEPENDS ${kal_fc_harness_dir}/*.cpp)
  else()
    set(kal_fc_sources "$<FILTER:$<FILTER:$<TARGET_PROPERTY:${lib},SOURCES>,INCLUDE,\\.cpp$>,EXCLUDE,_autogen>")
  endif()
  add_test(NAME fuzz_compile_${lib}
           COMMAND ${KAL_CLANGXX} @${kal_fc_dir}/flags.rsp -fsyntax-only -include-pch ${kal_fc_dir}/qt.h.pch
                   ${kal_fc_sources}
           COMMAND_EXPAND_LISTS)
  set_tests_properties(fuzz_compile_${lib} PROPERTIES FIXTURES_REQUIRED kal_fuzz_pch LABELS fuzz_compile)
endforeach()
