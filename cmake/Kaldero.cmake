# kal_subsystem(<folder> LINKS <targets...> QT <modules...>)
# One static library per subsystem folder from its *.cpp files, and one test
# program from <folder>/tests/*.cpp when there are any.
function(kal_subsystem name)
  cmake_parse_arguments(K "" "" "LINKS;QT;EXTRA" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${srcs} ${K_EXTRA})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  set(qtlibs)
  foreach(m ${K_QT})
    list(APPEND qtlibs Qt6::${m})
  endforeach()
  target_link_libraries(${name} PUBLIC ${K_LINKS} ${qtlibs})

  file(GLOB tsrcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.h)
  if(tsrcs)
    add_executable(${name}_tests ${tsrcs})
    set_target_properties(${name}_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_include_directories(${name}_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/testsupport)
    target_link_libraries(${name}_tests PRIVATE ${name} kal_testsupport GTest::gtest GTest::gmock)
    # The tests' own code is light and optimising it took most of the build.
    target_compile_options(${name}_tests PRIVATE -O0)
    target_compile_definitions(${name}_tests PRIVATE
      KAL_TESTDATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/tests/data"
      KAL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    gtest_discover_tests(${name}_tests
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      DISCOVERY_TIMEOUT 60
      DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()
