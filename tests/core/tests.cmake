# rm425t_add_test(tst_name core|ui core/tst_name.cpp)
rm425t_add_test(tst_inifile core core/tst_inifile.cpp)
rm425t_add_test(tst_cp1252 core core/tst_cp1252.cpp)
rm425t_add_test(tst_settingslocation core core/tst_settingslocation.cpp)
