if(VRA_BUILD_GUI)
  vra_bench(mapview_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mapview_bench.cpp LIBS gui_map core_playback core_document testkit)
endif()
