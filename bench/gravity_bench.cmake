# gravity-bench: headless timing of the gravity step; needs no display or GL.
add_executable(gravity-bench ${CMAKE_CURRENT_LIST_DIR}/gravity_bench.cpp)
target_link_libraries(gravity-bench PRIVATE gravity_simulation)

# The flags the step was compiled with, for the report.
string(TOUPPER "${CMAKE_BUILD_TYPE}" gravity_bench_config)
get_directory_property(gravity_bench_options COMPILE_OPTIONS)
list(JOIN gravity_bench_options " " gravity_bench_options)
string(STRIP "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${gravity_bench_config}} ${gravity_bench_options}"
       gravity_bench_flags)
target_compile_definitions(gravity-bench PRIVATE "GRAVITY_BENCH_FLAGS=\"${gravity_bench_flags}\"")
