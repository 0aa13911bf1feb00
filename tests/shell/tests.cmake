# rm425t_add_test(tst_name core|ui shell/tst_name.cpp)
rm425t_add_test(tst_frmstart ui shell/tst_frmstart.cpp)
rm425t_add_test(tst_frmabout ui shell/tst_frmabout.cpp)
rm425t_add_test(tst_ownedwindows ui shell/tst_ownedwindows.cpp)
rm425t_add_test(tst_configfiles ui shell/tst_configfiles.cpp)
rm425t_add_test(tst_recovery ui shell/tst_recovery.cpp)
rm425t_add_test(tst_windowcatalog ui shell/tst_windowcatalog.cpp)
# What the pages show, save and send, against the answers kept in tests/data.
rm425t_add_test(tst_pageequality ui shell/tst_pageequality.cpp)
target_compile_definitions(tst_pageequality PRIVATE
    RM425T_PAGE_EQUALITY_DATA="${PROJECT_SOURCE_DIR}/tests/data/pageequality")
if(UNIX)
    # The series window against the module simulator on a pseudo-terminal, the comparison window and the
    # upload log of the window's uploads.
    rm425t_add_test(tst_serieswindow ui shell/tst_serieswindow.cpp)
endif()
