# The installed tree, started as from the desktop menu (needs Xvfb and xdotool, as install-deps provides).
if(UNIX AND NOT APPLE AND TARGET rm425t-sim)
    add_test(NAME tst_install COMMAND ${CMAKE_CURRENT_LIST_DIR}/tst_install.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(tst_install PROPERTIES TIMEOUT 120)
endif()
