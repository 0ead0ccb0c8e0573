# The program's folders and settings file.
if(TARGET quillery_global)
    quillery_add_test(tst_global SOURCES tst_global.cpp LIBS quillery_global)
    target_compile_definitions(tst_global PRIVATE QUILLERY_SHARE_DIR="${CMAKE_INSTALL_FULL_DATADIR}/quillery")
endif()
