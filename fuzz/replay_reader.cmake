vra_fuzz_target(replay_reader SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/replay_reader.cpp LIBS core_replay core_playback core_export testkit)
