// ColourPicker: which bar a press sets, and the presses it refuses.
#include <gtest/gtest.h>

#include "gui.h"

TEST(ColourPicker, RowsOfNineSelectRedGreenBlue) {
    int r = 1, g = 2, b = 3;
    ColourPicker picker(100, 50, &r, &g, &b);
    EXPECT_EQ(picker.w, 266);
    EXPECT_EQ(picker.h, 35);
    EXPECT_TRUE(picker.click(100 + 5 + 200, 50 + 0, 1));
    EXPECT_EQ(r, 200);
    EXPECT_TRUE(picker.click(100 + 5 + 17, 50 + 8, 1));
    EXPECT_EQ(r, 17);
    EXPECT_TRUE(picker.click(100 + 5 + 99, 50 + 9, 1));
    EXPECT_EQ(g, 99);
    EXPECT_TRUE(picker.click(100 + 5 + 255, 50 + 26, 1));
    EXPECT_EQ(b, 255);
    EXPECT_TRUE(picker.click(100 + 5, 50 + 18, 1));
    EXPECT_EQ(b, 0);
    EXPECT_EQ(r, 17);
    EXPECT_EQ(g, 99);
}

TEST(ColourPicker, PressAtRow27IsTakenButChangesNothing) {
    int r = 10, g = 20, b = 30;
    ColourPicker picker(0, 0, &r, &g, &b);
    EXPECT_TRUE(picker.click(5 + 128, 27, 1));
    EXPECT_EQ(r, 10);
    EXPECT_EQ(g, 20);
    EXPECT_EQ(b, 30);
}

TEST(ColourPicker, PressesOutsideTheBarsAreRefused) {
    int r = 10, g = 20, b = 30;
    ColourPicker picker(0, 0, &r, &g, &b);
    EXPECT_FALSE(picker.click(4, 5, 1));   // rx -1
    EXPECT_FALSE(picker.click(261, 5, 1)); // rx 256
    EXPECT_FALSE(picker.click(50, 28, 1));
    EXPECT_FALSE(picker.click(50, -1, 1));
    EXPECT_EQ(r, 10);
    EXPECT_EQ(g, 20);
    EXPECT_EQ(b, 30);
}
