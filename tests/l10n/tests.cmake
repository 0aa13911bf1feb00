# rm425t_add_test(tst_name core|ui l10n/tst_name.cpp)
rm425t_add_test(tst_captiontable core l10n/tst_captiontable.cpp)
rm425t_add_test(tst_applylanguage ui l10n/tst_applylanguage.cpp)
rm425t_add_test(tst_languages ui l10n/tst_languages.cpp)
