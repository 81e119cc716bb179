#include "Support.h"
TEST(DLLErrors, Placeholder) {}
