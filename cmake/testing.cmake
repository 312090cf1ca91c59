# bw_add_tests(PREFIX DIR LIBS...): every DIR/*_test.cpp becomes its own test program, so one
# group of tests can be built and run alone.
function(bw_add_tests prefix dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*_test.cpp)
  foreach(src ${sources})
    get_filename_component(name ${src} NAME_WE)
    set(target ${prefix}-${name})
    add_executable(${target} ${src})
    target_link_libraries(${target} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${target} PRIVATE
      BW_FORMS_DIR="${BW_FORMS_DIR}"
      BW_FIXTURES_DIR="${dir}/fixtures"
      BW_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
  endforeach()
endfunction()

# bw_add_benchmarks(NAME DIR LIBS...): DIR/*.cpp make one benchmark program build/bin/NAME.
function(bw_add_benchmarks name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(sources)
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARGN} benchmark::benchmark benchmark::benchmark_main)
    target_compile_definitions(${name} PRIVATE BW_FORMS_DIR="${BW_FORMS_DIR}" BW_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endif()
endfunction()
