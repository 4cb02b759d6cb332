# render-bench: recording one frame's drawing into the batch (no GL), and the
# whole frame drawn on Mesa's llvmpipe through a hidden EGL context.
find_package(benchmark QUIET)
if(NOT benchmark_FOUND)
  message(STATUS "Google Benchmark not found: render-bench is not built")
else()
  add_executable(render-bench ${CMAKE_CURRENT_LIST_DIR}/render_bench.cpp)
  target_link_libraries(render-bench PRIVATE gravity_render benchmark::benchmark)
  if(TARGET gravity_gl_test_support)
    target_link_libraries(render-bench PRIVATE gravity_gl_test_support)
    target_compile_definitions(render-bench PRIVATE GRAVITY_BENCH_GL=1)
  endif()
endif()
