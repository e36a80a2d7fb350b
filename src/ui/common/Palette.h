#pragma once

#include <QColor>

namespace cs42 {

// The classic 16-colour palette (QBasic colour numbers): 14 light yellow, 15 bright white.
inline QColor paletteColor(int index)
{
    static const QColor colors[16] = {{0, 0, 0},
                                      {0, 0, 128},
                                      {0, 128, 0},
                                      {0, 128, 128},
                                      {128, 0, 0},
                                      {128, 0, 128},
                                      {128, 128, 0},
                                      {192, 192, 192},
                                      {128, 128, 128},
                                      {0, 0, 255},
                                      {0, 255, 0},
                                      {0, 255, 255},
                                      {255, 0, 0},
                                      {255, 0, 255},
                                      {255, 255, 0},
                                      {255, 255, 255}};
    return colors[index & 15];
}

} // namespace cs42
