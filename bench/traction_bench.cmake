if(VRA_BUILD_GUI)
  vra_bench(traction_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/traction_bench.cpp
            LIBS gui_graphs simkit testkit GTest::gtest)
endif()
