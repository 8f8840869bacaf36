// The picture set that ships in resources/ (run from the repository root):
// exactly the expected files, each decoding; signs with transparent
// corners, small enough for a board cell, no two the same image; a label
// strip of six opaque 30-pixel bands; screen pictures that fit the window.
#include <gtest/gtest.h>

#include <SDL_image.h>
#include <filesystem>
#include <set>

#include "support.h"

namespace {

// A picture decoded to RGBA32 with its rows packed; empty if it failed.
struct Picture {
    int w = 0, h = 0;
    std::string pixels;
    int alpha(int x, int y) const { return Uint8(pixels[(y * w + x) * 4 + 3]); }
};

Picture decode(const std::string &path)
{
    Picture picture;
    SDL_Surface *raw = IMG_Load(path.c_str());
    SDL_Surface *s =
        raw ? SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0) : NULL;
    for (int y = 0; s != NULL && y < s->h; y++)
        picture.pixels.append(static_cast<const char *>(s->pixels) +
                                  y * s->pitch,
                              size_t(s->w) * 4);
    if (s != NULL)
        picture = {s->w, s->h, picture.pixels};
    SDL_FreeSurface(raw);
    SDL_FreeSurface(s);
    return picture;
}

size_t entries(const std::string &dir)
{
    std::filesystem::directory_iterator all(dir);
    return size_t(std::distance(begin(all), end(all)));
}

TEST(ShippedArt, SignsAreExactlyTheExpectedFilesFitACellAndDiffer)
{
    std::set<std::string> images;
    EXPECT_EQ(entries("resources/sings"), size_t(GROUPS));
    for (int g = 0; g < GROUPS; g++) {
        const int count = signNumberTransfer[g][0];
        EXPECT_EQ(entries("resources/sings/" + std::to_string(g + 1)),
                  size_t(count));
        for (int k = 1; k <= count; k++) {
            const Picture p = decode(signPath(g, k));
            ASSERT_FALSE(p.pixels.empty()) << signPath(g, k);
            EXPECT_TRUE(p.w >= 32 && p.w <= 136 && p.h <= 150)
                << signPath(g, k);
            for (int corner = 0; corner < 4; corner++)
                EXPECT_LT(
                    p.alpha(corner % 2 * (p.w - 1), corner / 2 * (p.h - 1)), 64)
                    << signPath(g, k) << " corner " << corner;
            images.insert(std::to_string(p.w) + "x" + p.pixels);
        }
    }
    EXPECT_EQ(images.size(), size_t(SIGNS));
}

TEST(ShippedArt, LabelStripAndScreenPicturesFitTheWindow)
{
    const Picture names = decode("resources/namesGroup.png");
    ASSERT_EQ(names.h, LABEL_HEIGHT * GROUPS);
    EXPECT_TRUE(names.w >= CELL_WIDTH && names.w <= WINDOW_WIDTH) << names.w;
    for (int band = 0; band < GROUPS; band++) // labels read over pictures
        EXPECT_EQ(names.alpha(names.w / 2, band * LABEL_HEIGHT + 2), 255);
    for (const char *path :
         {"resources/welcome.png", "resources/felicitation.png"}) {
        const Picture p = decode(path);
        EXPECT_TRUE(p.w >= 200 && p.w <= WINDOW_WIDTH && p.h <= WINDOW_HEIGHT)
            << path;
    }
}

} // namespace
