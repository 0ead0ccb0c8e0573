# The template editor: its workflow, design surface, element commands and icons.
if(TARGET quillery_template)
    foreach(name editor surface geometry)
        quillery_add_test(tst_template_${name} SOURCES tst_template_${name}.cpp tst_template_support.h
                          LIBS quillery_template)
    endforeach()
endif()
