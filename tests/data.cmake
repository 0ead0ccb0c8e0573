# The data store's unit tests. The executables that feed hostile input link the allocation probe,
# which replaces operator new to see the largest request a load makes.
quillery_add_test(tst_data_format SOURCES tst_data_format.cpp tst_data_allocation.cpp DataBytes.h
                  LIBS quillery_data)
quillery_add_test(tst_data_bitmap SOURCES tst_data_bitmap.cpp tst_data_allocation.cpp DataBytes.h
                  LIBS quillery_data)
quillery_add_test(tst_data_category SOURCES tst_data_category.cpp DataBytes.h LIBS quillery_data)
quillery_add_test(tst_data_text SOURCES tst_data_text.cpp LIBS quillery_data)
quillery_add_test(tst_data_file SOURCES tst_data_file.cpp DataBytes.h LIBS quillery_data)
