# The commands run as the program itself, in a child process without any display, against the module
# simulator on a pseudo-terminal.
if(UNIX)
    rm425t_add_test(tst_cli ui cli/tst_cli.cpp)
    target_compile_definitions(tst_cli PRIVATE RM425T_PROGRAM_PATH="$<TARGET_FILE:rm425t>")
    add_dependencies(tst_cli rm425t)
    rm425t_add_test(tst_initcommand ui cli/tst_initcommand.cpp)
    target_compile_definitions(tst_initcommand PRIVATE RM425T_PROGRAM_PATH="$<TARGET_FILE:rm425t>")
    add_dependencies(tst_initcommand rm425t)
endif()
