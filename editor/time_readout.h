// The readout of the current time beside the transport buttons.
#pragma once

#include <cstdint>
#include <string>

#include "gui.h"

// The readout's text for a time: minutes, seconds and hundredths ("1:05.32").
std::string FormatTimeReadout(uint32_t ms);

// A label that shows the playback position through FormatTimeReadout, read
// afresh at every draw.
class TimeReadout : public Label {
  public:
    TimeReadout(int x, int y, uint32_t colour);
    void draw() override;

  private:
    char buffer[64];
};
