// The truth file's text, written out by hand for a small race.
#include <gtest/gtest.h>

#include "sim/TruthJson.h"

TEST(TruthJson, DriversInTableOrderWithTheirCrossingsToSixDecimals) {
    sim::RaceTruth t;
    t.frameCount = 1500;
    t.trackLength = 60000;
    t.drivers.resize(3);
    t.drivers[0].name = "Ada Marsh";
    t.drivers[0].slot = 1;
    t.drivers[0].lapCrossings = {12.5, 1190.0312504, 2369.9999996};
    t.drivers[1].name = "Say \"Hi\"\\\x01";  // quote, backslash, a control byte
    t.drivers[1].slot = 2;
    t.drivers[2].slot = 3;           // an empty name, no crossing
    t.drivers[2].samples.resize(4);  // samples are not part of the file
    EXPECT_EQ(sim::TruthJson(t),
              "{\"frames\": 1500, \"trackLength\": 60000, \"drivers\": ["
              "{\"name\": \"Ada Marsh\", \"slot\": 1, "
              "\"crossings\": [12.500000, 1190.031250, 2370.000000]}, "
              "{\"name\": \"Say \\\"Hi\\\"\\\\\\u0001\", \"slot\": 2, \"crossings\": []}, "
              "{\"name\": \"\", \"slot\": 3, \"crossings\": []}]}\n");
}
