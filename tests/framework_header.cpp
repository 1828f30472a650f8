// The one file the test framework's precompiled headers are made for (see dir_add_test).
