# The fuzz harnesses are built with clang only, so code that clang refuses
# would go unnoticed until someone fuzzes. A clang build (the sanitizer build
# of test.sh) compiles every library anyway, and compiles the harnesses here,
# without libFuzzer and unlinked.
file(GLOB kal_fuzz_harnesses CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/fuzz_*.cpp)
add_library(kal_fuzz_compile OBJECT ${kal_fuzz_harnesses})
target_link_libraries(kal_fuzz_compile PRIVATE mapdata maplist editing)
