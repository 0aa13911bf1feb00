# rm425t_add_test(tst_name core|ui pages/tst_name.cpp)
rm425t_add_test(tst_keyfilters core pages/tst_keyfilters.cpp)
rm425t_add_test(tst_notifysets ui pages/tst_notifysets.cpp)
