# Widget-free sources of this folder go into the core library, windows into the ui library.
set(L10N_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/captiontable.cpp ${CMAKE_CURRENT_LIST_DIR}/language.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qttranslations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/unitstexts.cpp
)
set(L10N_UI_SOURCES
    src/l10n/languagecode.cpp ${CMAKE_CURRENT_LIST_DIR}/applylanguage.cpp
)
