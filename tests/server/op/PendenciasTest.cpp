#include <gtest/gtest.h>

#include "tests/server/op/RetornosOP.h"
