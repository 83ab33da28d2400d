#include "ui/base/file_name_text.h"

#include <gtest/gtest.h>

namespace vexilon {
namespace {

TEST(FileNameText, AnyBytesComeBackAsTheyWent) {
    const QByteArray names[] = {
        "/plain/ascii name.png",
        "/utf8/caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80.png",
        "/latin1/caf\xe9.png",
        "/overlong/\xc0\xaf and \xe0\x80\xaf",
        "/surrogate/\xed\xa0\x80 encoded",
        "/cut short/\xe6\x97",
        "/beyond/\xf4\x90\x80\x80 and \xff\xfe",
        QByteArray("/nul/a\0b", 8),
    };
    for (const QByteArray& name : names) {
        EXPECT_EQ(fileNameBytes(fileNameText(name)), name) << name.toPercentEncoding().constData();
    }
}

} // namespace
} // namespace vexilon
