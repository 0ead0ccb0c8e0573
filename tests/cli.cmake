# quillery-cli and the template file, run as the user runs them.
quillery_add_test(tst_cli SOURCES tst_cli.cpp LIBS quillery_data Qt6::Core)
add_dependencies(tst_cli quillery-cli quillery_templates)
