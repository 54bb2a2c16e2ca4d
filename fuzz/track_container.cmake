vra_fuzz_target(track_container SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/track_container.cpp LIBS core_decode)
