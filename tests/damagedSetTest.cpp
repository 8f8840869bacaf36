// Damaged picture sets: every picture missing in turn, files that are empty,
// text, directories, cut short at every length, with corrupted bytes or
// absurd sizes; pictures of extreme sizes; a short label strip. Loading runs
// in a child with a watchdog (a hang ends it with SIGALRM and fails the
// case); a few cases run the real program on a virtual X display.
#include <gtest/gtest.h>

#include <SDL_image.h>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <unistd.h>

#include "program.h"
#include "support.h"

namespace {

const int WATCHDOG_SECONDS = 20;

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every picture the game loads, relative to its working directory, in
// loading order.
std::vector<std::string> allPictures()
{
    std::vector<std::string> paths;
    for (int g = 0; g < GROUPS; g++)
        for (int k = 1; k <= signNumberTransfer[g][0]; k++)
            paths.push_back(signPath(".", g, k).substr(2));
    for (const char *name : {"welcome", "namesGroup", "felicitation"})
        paths.push_back(std::string("resources/") + name + ".png");
    return paths;
}

// The game's start-up up to the end of loading, then status 42.
ChildResult loadSet()
{
    return runInChild([] {
        alarm(WATCHDOG_SECONDS);
        initializationGrafic();
        initializationTexteres();
        exit(42);
    });
}

uint32_t crc32(const std::string &bytes, size_t from, size_t count)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < from + count; i++) {
        crc ^= uint8_t(bytes[i]);
        for (int bit = 0; bit < 8; bit++)
            crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void putBigEndian(std::string &bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes[at + i] = char(value >> (24 - 8 * i));
}

// The PNG with its header rewritten to claim another size and format, the
// header's checksum fixed so that only the claim is wrong.
std::string withHeader(std::string png, uint32_t width, uint32_t height,
                       int depth, int colourType)
{
    putBigEndian(png, 16, width);
    putBigEndian(png, 20, height);
    png[24] = char(depth);
    png[25] = char(colourType);
    putBigEndian(png, 29, crc32(png, 12, 17));
    return png;
}

// What SDL_image's PNG decoder says about the damaged files below.
const std::set<std::string> DECODER_REASONS = {
    "Unsupported image format",
    "Image not of any known type, or corrupt",
    "Corrupt PNG",
    "PNG not supported: unknown PNG chunk type",
    "PNG not supported: 1/2/4/8/16-bit only",
    "Image too large to decode",
    "Very large image (corrupt?)"};

class DamagedSet : public ::testing::Test {
  protected:
    void SetUp() override
    {
        useHeadlessVideo();
        writePictureSet(dir, 20, 20);
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override
    {
        (void)!chdir("/");
        std::filesystem::remove_all(dir);
    }

    std::string dir = makeTempDir();
};

TEST_F(DamagedSet, EveryMissingPictureEndsLoadingWith2AndIsNamed)
{
    for (const std::string &path : allPictures()) {
        std::filesystem::rename(path, path + ".away");
        ChildResult result = loadSet();
        std::filesystem::rename(path + ".away", path);
        EXPECT_EQ(result.status, 2) << path;
        EXPECT_EQ(result.output, "IMG_Load Error: Couldn't open " + path);
    }
}

TEST_F(DamagedSet, UnreadableFilesEndWith2WithTheDecodersReason)
{
    const std::string png = readFile("resources/welcome.png");
    struct {
        const char *what;
        std::function<void(const std::string &)> damage;
        const char *reason;
    } damages[] = {
        {"zero bytes", [](auto &p) { writeFile(p, ""); },
         "Unsupported image format"},
        {"text", [](auto &p) { writeFile(p, "just some text\n"); },
         "Unsupported image format"},
        {"directory",
         [](auto &p) {
             std::filesystem::remove(p), std::filesystem::create_directory(p);
         },
         "Unsupported image format"},
        {"60000 x 60000 RGBA",
         [&](auto &p) { writeFile(p, withHeader(png, 60000, 60000, 8, 6)); },
         "Image too large to decode"},
        {"30000 x 30000 RGB",
         [&](auto &p) { writeFile(p, withHeader(png, 30000, 30000, 8, 2)); },
         "Image too large to decode"},
        {"2^32-1 square",
         [&](auto &p) { writeFile(p, withHeader(png, ~0u, ~0u, 8, 6)); },
         "Very large image (corrupt?)"},
        // Within the decoder's limit (256 MB); the data then runs out.
        {"16384 x 16384 grey",
         [&](auto &p) { writeFile(p, withHeader(png, 16384, 16384, 8, 0)); },
         "Corrupt PNG"},
        {"0 x 0", [&](auto &p) { writeFile(p, withHeader(png, 0, 0, 8, 6)); },
         "Corrupt PNG"},
        {"bit depth 3",
         [&](auto &p) { writeFile(p, withHeader(png, 600, 300, 3, 6)); },
         "PNG not supported: 1/2/4/8/16-bit only"},
    };
    for (const char *target :
         {"resources/sings/1/(1).png", "resources/sings/6/(19).png",
          "resources/namesGroup.png"}) {
        const std::string good = readFile(target);
        for (const auto &d : damages) {
            d.damage(target);
            ChildResult result = loadSet();
            EXPECT_EQ(result.status, 2) << d.what << " at " << target;
            EXPECT_EQ(result.output, std::string("IMG_Load Error: ") + d.reason)
                << d.what;
            std::filesystem::remove_all(target);
            writeFile(target, good);
        }
    }
}

// The decoder never reads the end marker's checksum, so a file missing only
// those last 4 bytes still loads; every shorter cut ends the run with 2.
TEST_F(DamagedSet, PictureCutShortAtEveryLengthEndsWith2)
{
    const std::string path = "resources/sings/1/(1).png";
    const std::string png = readFile(path);
    for (size_t length = 8; length < png.size(); length++) {
        writeFile(path, png.substr(0, length));
        ChildResult result = loadSet();
        if (length >= png.size() - 4) {
            EXPECT_EQ(result.status, 42) << length;
            continue;
        }
        ASSERT_EQ(result.status, 2)
            << "cut at " << length << " of " << png.size();
        ASSERT_EQ(result.output.rfind("IMG_Load Error: ", 0), 0u);
        EXPECT_EQ(DECODER_REASONS.count(result.output.substr(16)), 1u)
            << result.output;
    }
}

// The same decoder call on a picture of incompressible noise, cut at every
// length and with each byte inverted in turn, all in one child: any answer
// but a hang or a crash is acceptable; the counts are reported.
TEST_F(DamagedSet, NoisePictureCutOrCorruptedAnywhereNeverHangsOrCrashes)
{
    SDL_Surface *noise =
        SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_RGBA32);
    std::mt19937 rng(7);
    for (int i = 0; i < 32 * 32 * 4; i++)
        static_cast<Uint8 *>(noise->pixels)[i] = Uint8(rng());
    ASSERT_EQ(IMG_SavePNG(noise, "noise.png"), 0);
    SDL_FreeSurface(noise);
    const std::string png = readFile("noise.png");

    ChildResult result = runInChild([&] {
        alarm(WATCHDOG_SECONDS * 3);
        int cutLoads = 0, flipLoads = 0;
        for (size_t length = 0; length < png.size(); length++) {
            writeFile("cut.png", png.substr(0, length));
            if (SDL_Surface *s = IMG_Load("cut.png")) {
                cutLoads++;
                SDL_FreeSurface(s);
            }
        }
        for (size_t at = 0; at < png.size(); at += 3) {
            std::string flipped = png;
            flipped[at] = char(~flipped[at]);
            writeFile("flip.png", flipped);
            if (SDL_Surface *s = IMG_Load("flip.png")) {
                flipLoads++;
                SDL_FreeSurface(s);
            }
        }
        printf("%zu bytes: %d cuts load, %d flips load", png.size(), cutLoads,
               flipLoads);
        exit(0);
    });
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.output.find(": 4 cuts load"), std::string::npos)
        << result.output;
    printf("%s\n", result.output.c_str());
}

// Loads, deals, draws and plays one exchange with pictures of 1 × 1 and
// 400 × 600 and screen pictures of 1 × 1; prints what it saw.
TEST_F(DamagedSet, ExtremePictureSizesStillPlay)
{
    for (int g = 0; g < GROUPS; g++)
        for (int k = 1; k <= signNumberTransfer[g][0]; k++)
            if (k % 2)
                writePicture(signPath(dir, g, k), 1, 1, signColour(g, k));
            else
                writePicture(signPath(dir, g, k), 400, 600, signColour(g, k));
    writePicture("resources/welcome.png", 1, 1, WELCOME_COLOUR);
    writePicture("resources/felicitation.png", 1, 1, FELICITATION_COLOUR);

    ChildResult result = runInChild([] {
        alarm(WATCHDOG_SECONDS);
        initializationGrafic();
        initializationTexteres();
        srand(3);
        FillGameField();
        renderingGameField();
        int big = -1, tiny = -1;
        for (int i = 0; i < ROWS * COLUMNS; i++)
            (GUI.signs[gameField[i / COLUMNS][i % COLUMNS]].rect.w > 1 ? big
                                                                       : tiny) =
                i;
        if (big < 0 || tiny < 0)
            exit(3);
        auto event = [](Uint32 type, int cell) {
            SDL_Event e = {};
            e.type = type;
            e.button.x = rowsWidth[cell % COLUMNS];
            e.button.y = rowsHeights[cell / COLUMNS];
            return e;
        };
        const int bigSign = gameField[big / COLUMNS][big % COLUMNS];
        const int tinySign = gameField[tiny / COLUMNS][tiny % COLUMNS];
        bool dragging = false;
        SDL_Event press = event(SDL_MOUSEBUTTONDOWN, tiny);
        dragAndDrop(&press, &dragging, NULL, NULL);
        printf("tiny picked up: %d; ", dragging);
        press = event(SDL_MOUSEBUTTONDOWN, big);
        dragAndDrop(&press, &dragging, NULL, NULL);
        SDL_Event motion = event(SDL_MOUSEMOTION, tiny);
        dragAndDrop(&motion, &dragging, NULL, NULL);
        renderingGameField();
        SDL_Event release = event(SDL_MOUSEBUTTONUP, tiny);
        bool dropped = dragAndDrop(&release, &dragging, NULL, NULL);
        renderingGameField();
        testGameField();
        printf("exchanged: %d",
               dropped &&
                   gameField[tiny / COLUMNS][tiny % COLUMNS] == bigSign &&
                   gameField[big / COLUMNS][big % COLUMNS] == tinySign);
        exit(0);
    });
    EXPECT_EQ(result.status, 0);
    // A 1 × 1 picture has no inside, so it cannot be picked up; it can still
    // be exchanged by dropping another picture on it.
    EXPECT_EQ(result.output, "tiny picked up: 0; exchanged: 1");
}

// A label strip with fewer than six 30-pixel bands: rows whose band is
// missing show no label, a partial band is stretched, and nothing outside
// the picture is read (the colours seen are only the strip's own).
TEST_F(DamagedSet, ShortLabelStripShowsOnlyWhatItHas)
{
    for (int height : {1, 40}) {
        SDL_Surface *strip = SDL_CreateRGBSurfaceWithFormat(
            0, 300, height, 32, SDL_PIXELFORMAT_RGBA32);
        for (int g = 0; g < GROUPS; g++) {
            SDL_Rect band = {0, LABEL_HEIGHT * g, 300, LABEL_HEIGHT};
            SDL_Color c = labelColour(g);
            SDL_FillRect(strip, &band,
                         SDL_MapRGBA(strip->format, c.r, c.g, c.b, 255));
        }
        ASSERT_EQ(IMG_SavePNG(strip, "resources/namesGroup.png"), 0);
        SDL_FreeSurface(strip);

        ChildResult result = runInChild([] {
            alarm(WATCHDOG_SECONDS);
            initializationGrafic();
            initializationTexteres();
            srand(1);
            FillGameField();
            const int rows[ROWS] = {0, 1, 5};
            memcpy(category, rows, sizeof category);
            renderingGameField();
            for (int r = 0; r < ROWS; r++) {
                Uint32 value = 0;
                SDL_Rect one = {WINDOW_WIDTH / 2,
                                LABEL_TOP + CELL_HEIGHT * r + 25, 1, 1};
                SDL_RenderReadPixels(ren, &one, SDL_PIXELFORMAT_RGBA32, &value,
                                     4);
                SDL_Color c;
                memcpy(&c, &value, 4);
                printf("%d,%d,%d;", c.r, c.g, c.b);
            }
            exit(0);
        });
        ASSERT_EQ(result.status, 0) << height;
        // Row 2's label (group 5) lies wholly outside: the sign under it shows.
        std::ostringstream expected;
        auto rgb = [&](SDL_Color c) {
            expected << int(c.r) << "," << int(c.g) << "," << int(c.b) << ";";
        };
        rgb(labelColour(0));
        rgb(height > LABEL_HEIGHT ? labelColour(1)
                                  : SDL_Color{255, 255, 255, 255});
        EXPECT_EQ(result.output.substr(0, expected.str().size()),
                  expected.str())
            << height;
        for (int g = 0; g < GROUPS; g++) {
            std::ostringstream label;
            label << int(labelColour(g).r) << "," << int(labelColour(g).g)
                  << "," << int(labelColour(g).b) << ";";
            EXPECT_NE(result.output.substr(expected.str().size()), label.str())
                << height;
        }
    }
}

// The real program on a virtual X display: it loads only after its window
// and renderer exist, and damage ends it the same way.
TEST_F(DamagedSet, RealProgramEndsWith2OnDamagedSets)
{
    const std::string display = virtualDisplay();
    if (display.empty())
        GTEST_SKIP() << "no Xvfb";
    const std::string png = readFile("resources/sings/3/(4).png");
    struct {
        std::function<void()> damage;
        std::string output;
    } cases[] = {
        {[] { std::filesystem::remove("resources/sings/3/(4).png"); },
         "Couldn't open resources/sings/3/(4).png"},
        {[&] {
             writeFile("resources/sings/3/(4).png",
                       png.substr(0, png.size() / 2));
         },
         "Corrupt PNG"},
        {[&] {
             writeFile("resources/sings/3/(4).png",
                       withHeader(png, 60000, 60000, 8, 6));
         },
         "Image too large to decode"},
        {[] {
             std::filesystem::remove("resources/sings/3/(4).png");
             std::filesystem::create_directory("resources/sings/3/(4).png");
         },
         "Unsupported image format"},
    };
    for (const auto &c : cases) {
        c.damage();
        ProgramResult result = runProgram(dir, {{"DISPLAY", display.c_str()},
                                                {"SDL_VIDEODRIVER", NULL},
                                                {"SDL_RENDER_DRIVER", NULL}});
        EXPECT_EQ(result.status, 2) << c.output;
        EXPECT_EQ(result.output, "IMG_Load Error: " + c.output);
        std::filesystem::remove_all("resources/sings/3/(4).png");
        writeFile("resources/sings/3/(4).png", png);
    }
}

} // namespace
