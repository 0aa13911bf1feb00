# The rules on what is typed after the program's name, on their own.
rm425t_add_test(tst_argumentrules core cli/tst_argumentrules.cpp)
# Which unit of a units file goes to which port, and what an argument of `diff` names.
rm425t_add_test(tst_seriesrules core cli/tst_seriesrules.cpp)
# The commands run as the program itself, in a child process without any display, against the module
# simulator on a pseudo-terminal.
if(UNIX)
    rm425t_add_test(tst_cli ui cli/tst_cli.cpp)
    target_compile_definitions(tst_cli PRIVATE RM425T_PROGRAM_PATH="$<TARGET_FILE:rm425t>")
    add_dependencies(tst_cli rm425t)
    rm425t_add_test(tst_initcommand ui cli/tst_initcommand.cpp)
    # A series of modules from a units file, the comparison of configurations, the JSON lines and the
    # upload log, through the program against simulated modules.
    rm425t_add_test(tst_seriescommands core cli/tst_seriescommands.cpp)
    target_compile_definitions(tst_seriescommands PRIVATE RM425T_PROGRAM_PATH="$<TARGET_FILE:rm425t>")
    add_dependencies(tst_seriescommands rm425t)
    target_compile_definitions(tst_initcommand PRIVATE RM425T_PROGRAM_PATH="$<TARGET_FILE:rm425t>")
    add_dependencies(tst_initcommand rm425t)
    rm425t_add_test(tst_windowpart core cli/tst_windowpart.cpp)
    target_compile_definitions(tst_windowpart PRIVATE RM425T_PROGRAM_PATH="$<TARGET_FILE:rm425t>")
    add_dependencies(tst_windowpart rm425t)
    # The test's own window runs from the build tree as the program does, so it keeps its settings where the
    # program keeps them.
    file(GENERATE OUTPUT $<TARGET_FILE_DIR:tst_cli>/rm425t-build-tree.txt
        CONTENT "This folder is a build tree: the program keeps its settings in the user's configuration folder.\n")
endif()
