vra_bench(trackpath_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/trackpath_bench.cpp LIBS core_track core_decode simkit)
