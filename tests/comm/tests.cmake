# rm425t_add_test(tst_name core|ui comm/tst_name.cpp)
rm425t_add_test(tst_parameterrecord core comm/tst_parameterrecord.cpp)
rm425t_add_test(tst_sessions core comm/tst_sessions.cpp)
# Tests against the module simulator on a pseudo-terminal.
if(UNIX)
    rm425t_add_test(tst_simulator core comm/tst_simulator.cpp)
    rm425t_add_test(tst_serialpty core comm/tst_serialpty.cpp)
endif()
if(UNIX)
    rm425t_add_test(tst_frm8 ui comm/tst_frm8.cpp)
    rm425t_add_test(tst_portlist ui comm/tst_portlist.cpp)
    # Every function against a module with a real line's manners, through a pseudo-terminal.
    rm425t_add_test(tst_linematrix ui comm/tst_linematrix.cpp)
endif()
if(UNIX)
    # The history of the line against the module simulator, and the window that shows it.
    rm425t_add_test(tst_history ui comm/tst_history.cpp)
endif()
