# Click to first sound, CPU per minute and the station-switch gap of the radio
# path, against mpv and gst-launch-1.0 (bench/radio.py).
add_executable(bench_radio_start ${CMAKE_CURRENT_SOURCE_DIR}/bench_radio_start.cpp)
target_link_libraries(bench_radio_start PRIVATE vidmo_platform)
