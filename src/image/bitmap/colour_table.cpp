#include "image/bitmap/colour_table.h"

namespace vexilon {

namespace {

TableEntry entry(int red, int green, int blue) {
    return {static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>(green),
            static_cast<std::uint8_t>(red), 0};
}

std::vector<TableEntry> vgaColours() {
    return {entry(0, 0, 0),       entry(128, 0, 0),   entry(0, 128, 0),   entry(128, 128, 0),
            entry(0, 0, 128),     entry(128, 0, 128), entry(0, 128, 128), entry(192, 192, 192),
            entry(128, 128, 128), entry(255, 0, 0),   entry(0, 255, 0),   entry(255, 255, 0),
            entry(0, 0, 255),     entry(255, 0, 255), entry(0, 255, 255), entry(255, 255, 255)};
}

std::vector<TableEntry> cubeAndGreys() {
    std::vector<TableEntry> table;
    table.reserve(256);
    for (int red = 0; red < 6; ++red) {
        for (int green = 0; green < 6; ++green) {
            for (int blue = 0; blue < 6; ++blue) {
                table.push_back(entry(red * 51, green * 51, blue * 51));
            }
        }
    }
    // The cube has only six greys; these fill the gaps between them.
    for (int i = 1; i <= 40; ++i) {
        const int grey = (i * 255 + 20) / 41;
        table.push_back(entry(grey, grey, grey));
    }
    return table;
}

} // namespace

std::vector<TableEntry> standardColourTable(unsigned bits) {
    switch (bits) {
    case 1:
        return {entry(0, 0, 0), entry(255, 255, 255)};
    case 4:
        return vgaColours();
    case 8:
        return cubeAndGreys();
    default:
        return {};
    }
}

std::uint32_t nearestEntry(std::span<const TableEntry> table, Rgb colour) {
    std::uint32_t best = 0;
    int bestDistance = -1;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const int red = table[i].red - colour.red;
        const int green = table[i].green - colour.green;
        const int blue = table[i].blue - colour.blue;
        const int distance = red * red + green * green + blue * blue;
        if (bestDistance < 0 || distance < bestDistance) {
            best = static_cast<std::uint32_t>(i);
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace vexilon
