#include <gmock/gmock.h>

#include "tests/plot/series/series_fixture.h"
