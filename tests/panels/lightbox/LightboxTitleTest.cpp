#include "panels/lightbox/LightboxHeader.h"

#include "tests/support/HostileTexts.h"

#include <gtest/gtest.h>

namespace {

// An attachment's title has no length limit: the header keeps what one line
// can show, with control characters as spaces.
TEST(LightboxTitle, KeepsOneLineOfAnyTitle)
{
    for (const HostileTexts::Text &hostile : HostileTexts::all()) {
        LightboxHeader header;
        header.resize(800, 52);
        header.setTitle(hostile.text);
        EXPECT_LE(header.title().size(), DisplayLength::line + 1) << hostile.name;
        EXPECT_FALSE(HostileTexts::hasControlCharacter(header.title(), LineBreaks::asSpaces)) << hostile.name;
    }
}

} // namespace
