# rm425t_add_test(tst_name core|ui window/tst_name.cpp)
rm425t_add_test(tst_settingsfile ui window/tst_settingsfile.cpp)
rm425t_add_test(tst_help ui window/tst_help.cpp)
rm425t_add_test(tst_startwarmup ui window/tst_startwarmup.cpp)
