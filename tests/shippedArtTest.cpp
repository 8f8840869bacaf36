// The picture set that ships in resources/ (run from the repository root):
// exactly the expected files, each decoding; signs with alpha, transparent
// corners, small enough for a board cell, and no two the same image; a label
// strip of six opaque 30-pixel bands; screen pictures that fit the window.
#include <gtest/gtest.h>

#include <SDL_image.h>
#include <filesystem>
#include <set>

#include "support.h"

namespace {

// A picture decoded to RGBA32 with its rows packed; no pixels if it failed.
struct Picture {
    int w = 0, h = 0;
    bool hasAlpha = false;
    std::string pixels;
    int alpha(int x, int y) const { return Uint8(pixels[(y * w + x) * 4 + 3]); }
};

Picture decode(const std::string &path)
{
    Picture picture;
    SDL_Surface *raw = IMG_Load(path.c_str());
    if (raw == NULL)
        return picture;
    picture.hasAlpha = SDL_ISPIXELFORMAT_ALPHA(raw->format->format) ||
                       raw->format->palette != NULL;
    SDL_Surface *s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(raw);
    picture.w = s->w;
    picture.h = s->h;
    for (int y = 0; y < s->h; y++)
        picture.pixels.append(static_cast<const char *>(s->pixels) +
                                  y * s->pitch,
                              size_t(s->w) * 4);
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
    const int counts[GROUPS] = {30, 9, 17, 15, 14, 19};
    std::set<std::string> images;
    EXPECT_EQ(entries("resources/sings"), size_t(GROUPS));
    for (int g = 0; g < GROUPS; g++) {
        EXPECT_EQ(entries("resources/sings/" + std::to_string(g + 1)),
                  size_t(counts[g]))
            << "directory " << g + 1;
        for (int k = 1; k <= counts[g]; k++) {
            const std::string path = signPath(g, k);
            const Picture p = decode(path);
            ASSERT_FALSE(p.pixels.empty()) << path << ": " << IMG_GetError();
            EXPECT_TRUE(p.hasAlpha) << path;
            EXPECT_TRUE(p.w >= 32 && p.w <= 136 && p.h <= 150)
                << path << " is " << p.w << " × " << p.h;
            for (int corner = 0; corner < 4; corner++)
                EXPECT_LT(
                    p.alpha(corner % 2 * (p.w - 1), corner / 2 * (p.h - 1)), 64)
                    << path << " corner " << corner;
            images.insert(std::to_string(p.w) + "x" + std::to_string(p.h) +
                          p.pixels);
        }
    }
    EXPECT_EQ(images.size(), size_t(SIGNS));
}

TEST(ShippedArt, LabelStripAndScreenPicturesFitTheWindow)
{
    const Picture names = decode("resources/namesGroup.png");
    ASSERT_FALSE(names.pixels.empty()) << IMG_GetError();
    EXPECT_EQ(names.h, LABEL_HEIGHT * GROUPS);
    EXPECT_TRUE(names.w >= CELL_WIDTH && names.w <= WINDOW_WIDTH) << names.w;
    for (int band = 0; band < GROUPS; band++) // labels read over pictures
        EXPECT_EQ(names.alpha(names.w / 2, band * LABEL_HEIGHT + 2), 255)
            << "band " << band;
    for (const char *path :
         {"resources/welcome.png", "resources/felicitation.png"}) {
        const Picture p = decode(path);
        EXPECT_TRUE(p.w >= 200 && p.w <= WINDOW_WIDTH && p.h <= WINDOW_HEIGHT)
            << path << " is " << p.w << " × " << p.h;
    }
}

} // namespace
