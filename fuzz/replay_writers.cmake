# Seeds: the replay reader's, written by tools/mksim --fuzz-seeds <folder>.
vra_fuzz_target(replay_writers SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/replay_writers.cpp LIBS core_replay)
