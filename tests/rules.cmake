# The rules that need no Windows call, and their tests: besides the Wine test
# programs they build natively (tests/native) under the sanitizers.
set(TAVRIK_RULE_SOURCES
  app/command_line.cpp app/last_run.cpp app/task_definition.cpp app/texts.cpp
  backup/destination_listing.cpp backup/path_parts.cpp backup/version_names.cpp backup/version_pruning.cpp
  settings/schedule.cpp settings/stored_values.cpp
  environment/os_name.cpp environment/outlook_version.cpp environment/store_path.cpp
  platform/folder_rights.cpp
  sources/list_geometry.cpp sources/size_text.cpp
  update/download_pace.cpp update/version_check.cpp)
set(TAVRIK_RULE_TESTS
  app/command_line_test.cpp app/last_run_test.cpp app/task_definition_test.cpp app/texts_test.cpp
  backup/destination_listing_test.cpp backup/path_parts_test.cpp backup/version_rules_test.cpp
  settings/stored_values_test.cpp
  environment/os_name_test.cpp environment/store_path_test.cpp
  platform/folder_rights_test.cpp
  sources/list_geometry_test.cpp sources/size_text_test.cpp
  update/version_check_test.cpp)
