// Control ids of the test-only dialog templates in test_dialogs.rc.
#pragma once

#define TEST_EDIT 3000
#define TEST_COMBO 3010
#define TEST_LIST 3020
#define TEST_ACTION 2500
