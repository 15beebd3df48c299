add_executable(bench_player_start ${CMAKE_CURRENT_SOURCE_DIR}/bench_player_start.cpp
               ${CMAKE_CURRENT_SOURCE_DIR}/firstpaint.h)
target_link_libraries(bench_player_start PRIVATE vidmo_platform)
add_dependencies(bench_player_start vidmo_program_dir)

add_executable(bench_reference_start ${CMAKE_CURRENT_SOURCE_DIR}/bench_reference_start.cpp
               ${CMAKE_CURRENT_SOURCE_DIR}/firstpaint.h)
target_link_libraries(bench_reference_start PRIVATE Qt6::WebEngineWidgets)
