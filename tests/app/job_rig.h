#pragma once

// What the whole-job tests share: a dropped picture file, the dots of the
// preview file the console prepared, and the dots the machine burnt.

#include "support/window_controls.h"

#include "sim/machine/work_piece.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace vexilon::test_support {

using Dot = std::pair<int, int>; // x, y
using Dots = std::vector<Dot>;   // row by row from the top, as the machine carves

inline std::int32_t le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                     static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

// Drops `file` on the preview as a file manager would; true when both the
// entering drag and the drop were accepted.
inline bool dropOnPreview(const MainWindowControls& ui, const std::filesystem::path& file) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ui.PreviewPicture, &enter);
    QDropEvent dropped(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ui.PreviewPicture, &dropped);
    return enter.isAccepted() && dropped.isAccepted();
}

// The black dots of the preview file, read straight from its bytes.
inline Dots previewDots(const std::filesystem::path& previewFile) {
    std::ifstream in(previewFile, std::ios::binary);
    const std::vector<std::uint8_t> bmp(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(bmp.size(), 32830u);
    if (bmp.size() != 32830u) {
        return {};
    }
    EXPECT_EQ(le32(bmp, 54), 0); // colour 0 is black: a 0 bit is a dot to burn
    const std::int32_t height = le32(bmp, 22);
    const auto pixels = static_cast<std::size_t>(le32(bmp, 10));
    Dots dots;
    for (int y = 0; y < 512; ++y) {
        const int row = height > 0 ? 511 - y : y;
        for (int x = 0; x < 512; ++x) {
            const std::uint8_t byte = bmp[pixels + static_cast<std::size_t>(row * 64 + x / 8)];
            if ((byte >> (7 - x % 8) & 1) == 0) {
                dots.emplace_back(x, y);
            }
        }
    }
    return dots;
}

inline Dots burntDots(const sim::WorkPiece& piece) {
    Dots dots;
    for (int y = 0; y < sim::WorkPiece::kSide; ++y) {
        for (int x = 0; x < sim::WorkPiece::kSide; ++x) {
            if (piece.burnt(x, y)) {
                dots.emplace_back(x, y);
            }
        }
    }
    return dots;
}

} // namespace vexilon::test_support
