# Main-window tests: each flow is its own executable driving the real window offscreen.
add_library(quillery_main_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/tst_main_support.cpp
                                              ${CMAKE_CURRENT_LIST_DIR}/tst_main_support.h)
target_link_libraries(quillery_main_test_support PUBLIC quillery_main Qt6::Test)

foreach(flow firstrun password backup writecache instance list settings form filter records templates)
    quillery_add_test(tst_main_${flow} SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_main_${flow}.cpp
                      LIBS quillery_main_test_support)
endforeach()
# The single-instance test starts the real program.
add_dependencies(tst_main_instance quillery)
