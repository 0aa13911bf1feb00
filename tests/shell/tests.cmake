# rm425t_add_test(tst_name core|ui shell/tst_name.cpp)
rm425t_add_test(tst_inifile core shell/tst_inifile.cpp)
rm425t_add_test(tst_settingsfile ui shell/tst_settingsfile.cpp)
