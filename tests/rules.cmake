# The rules that need no Windows call, and their tests: besides the Wine test
# programs they build natively (tests/native) under the sanitizers.
set(TAVRIK_RULE_SOURCES
  app/task_definition.cpp app/texts.cpp
  backup/path_parts.cpp
  settings/check_state.cpp settings/schedule.cpp
  environment/os_name.cpp environment/outlook_version.cpp environment/store_path.cpp
  sources/list_geometry.cpp sources/size_text.cpp
  update/download_pace.cpp update/version_check.cpp)
set(TAVRIK_RULE_TESTS
  app/task_definition_test.cpp app/texts_test.cpp
  backup/path_parts_test.cpp
  settings/check_state_test.cpp
  environment/os_name_test.cpp environment/store_path_test.cpp
  sources/list_geometry_test.cpp sources/size_text_test.cpp
  update/version_check_test.cpp)
