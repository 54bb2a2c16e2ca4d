vra_bench(race_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/race_bench.cpp LIBS core_playback core_decode simkit testkit)
