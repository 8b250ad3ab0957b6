# Monitor's runtime: the portable logic (unit-tested natively) and its Win32
# adapters. Included by monitor/CMakeLists.txt.
mouse_core_library(monitor_runtime_core
    ${CMAKE_CURRENT_LIST_DIR}/event_dispatcher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/key_combination.cpp
    ${CMAKE_CURRENT_LIST_DIR}/macro_player.cpp
    ${CMAKE_CURRENT_LIST_DIR}/media_players.cpp
    ${CMAKE_CURRENT_LIST_DIR}/game_watch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/osd_notices.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tilt_scroll.cpp
    ${CMAKE_CURRENT_LIST_DIR}/monitor_runtime.cpp)
target_link_libraries(monitor_runtime_core PUBLIC settings_core)

mouse_win_library(monitor_runtime_win
    ${CMAKE_CURRENT_LIST_DIR}/runtime_input_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/media_players_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/game_watch_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/osd_notices_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tilt_scroll_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/runtime_bundle_win.cpp)
if(MOUSE_WINDOWS)
    target_link_libraries(monitor_runtime_win PUBLIC monitor_runtime_core winmm)
endif()
