// Checks the picture set that ships in resources/ (run from the repository
// root): every expected file is there and nothing more, each decodes, sign
// pictures are transparent-edged and small enough for a board cell, the screen
// pictures fit the window, and no two sign pictures are the same image.
#include <gtest/gtest.h>
#include <SDL.h>
#include <SDL_image.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

const int kCounts[6] = {30, 9, 17, 15, 14, 19};

std::string signPath(int family, int index)
{
    return "resources/sings/" + std::to_string(family) + "/(" +
           std::to_string(index) + ").png";
}

struct Rgba { // a picture decoded to RGBA32 bytes, rows packed
    int w = 0, h = 0;
    std::string bytes;
    Uint8 alpha(int x, int y) const
    {
        return static_cast<Uint8>(bytes[(y * w + x) * 4 + 3]);
    }
};

bool decode(const std::string &path, Rgba &out, bool *hasAlpha = nullptr)
{
    SDL_Surface *raw = IMG_Load(path.c_str());
    if (!raw)
        return false;
    if (hasAlpha)
        *hasAlpha = SDL_ISPIXELFORMAT_ALPHA(raw->format->format) ||
                    raw->format->palette;
    SDL_Surface *s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(raw);
    if (!s)
        return false;
    out.w = s->w;
    out.h = s->h;
    out.bytes.clear();
    for (int y = 0; y < s->h; ++y)
        out.bytes.append(static_cast<const char *>(s->pixels) + y * s->pitch,
                         s->w * 4);
    SDL_FreeSurface(s);
    return true;
}

class ShippedArt : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { IMG_Init(IMG_INIT_PNG); }
    static void TearDownTestSuite() { IMG_Quit(); }
};

TEST_F(ShippedArt, SignFoldersHoldExactlyTheExpectedFiles)
{
    namespace fs = std::filesystem;
    for (int fam = 1; fam <= 6; ++fam) {
        for (int i = 1; i <= kCounts[fam - 1]; ++i)
            EXPECT_TRUE(fs::is_regular_file(signPath(fam, i)))
                << signPath(fam, i);
        int files = 0;
        for (const auto &e :
             fs::directory_iterator("resources/sings/" + std::to_string(fam)))
            files += e.is_regular_file();
        EXPECT_EQ(files, kCounts[fam - 1]) << "family folder " << fam;
    }
}

TEST_F(ShippedArt, SignPicturesDecodeFitACellAndHaveTransparentCorners)
{
    for (int fam = 1; fam <= 6; ++fam)
        for (int i = 1; i <= kCounts[fam - 1]; ++i) {
            const std::string p = signPath(fam, i);
            Rgba img;
            bool hasAlpha = false;
            ASSERT_TRUE(decode(p, img, &hasAlpha))
                << p << ": " << IMG_GetError();
            EXPECT_TRUE(hasAlpha) << p;
            EXPECT_LE(img.w, 136) << p;
            EXPECT_LE(img.h, 150) << p;
            EXPECT_GE(img.w, 32) << p; // not a stub
            for (auto [x, y] : {std::pair{0, 0},
                                {img.w - 1, 0},
                                {0, img.h - 1},
                                {img.w - 1, img.h - 1}})
                EXPECT_LT(img.alpha(x, y), 64)
                    << p << " corner " << x << "," << y;
        }
}

TEST_F(ShippedArt, NoTwoSignPicturesAreTheSameImage)
{
    std::map<std::string, std::string> seen; // size + pixels -> first file
    for (int fam = 1; fam <= 6; ++fam)
        for (int i = 1; i <= kCounts[fam - 1]; ++i) {
            Rgba img;
            ASSERT_TRUE(decode(signPath(fam, i), img)) << signPath(fam, i);
            const std::string key = std::to_string(img.w) + "x" +
                                    std::to_string(img.h) + ":" + img.bytes;
            auto [it, fresh] = seen.emplace(key, signPath(fam, i));
            EXPECT_TRUE(fresh)
                << signPath(fam, i) << " is identical to " << it->second;
        }
    EXPECT_EQ(seen.size(), 104u);
}

TEST_F(ShippedArt, LabelStripAndScreenPictures)
{
    Rgba names, welcome, won;
    ASSERT_TRUE(decode("resources/namesGroup.png", names)) << IMG_GetError();
    EXPECT_EQ(names.h, 180); // six 30-px bands
    EXPECT_GE(names.w, 142);
    EXPECT_LE(names.w, 1280);
    for (int band = 0; band < 6;
         ++band) // bands are opaque so the label reads over a picture
        EXPECT_EQ(names.alpha(names.w / 2, band * 30 + 2), 255)
            << "band " << band;

    for (const char *p :
         {"resources/welcome.png", "resources/felicitation.png"}) {
        Rgba img;
        ASSERT_TRUE(decode(p, img)) << p << ": " << IMG_GetError();
        EXPECT_LE(img.w, 1280) << p;
        EXPECT_LE(img.h, 720) << p;
        EXPECT_GE(img.w, 200) << p;
    }
}

} // namespace
