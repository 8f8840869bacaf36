// The browser build's IMG_Load and IMG_Init, put in place of SDL_image's by
// the linker (-Wl,--wrap; see docs/WEB.md). The pictures come in compressed
// tar archives (web/pack.py), the signs' and the language's words', which the
// page starts fetching as it loads (Module['pictures']). Each picture the
// program asks for is decoded when it asks, from as much of the archives as
// has arrived, waiting for the network where it must, straight into the
// surface SDL_image's PNG decoder would have made of it; neither SDL_image's
// decoders nor a file system are linked. The archives hold the pictures in
// the order the program asks for them, so that only the decoder's window and
// one picture are held; a picture met before it is asked for is kept until
// it is. A picture the archives do not hold is missing, as on the desktop
// when its file is.
#include <SDL_image.h>
#include <emscripten.h>
#include <lzma.h>
#include <stdbool.h>
#include <stdlib.h>
#include <string.h>

#include "tasks.h"

// A ustar header's fields (POSIX), and what is decoded at a time.
enum {
    BLOCK = 512,
    NAME = 0,
    NAME_SIZE = 100,
    SIZE = 124,
    PREFIX = 345,
    PREFIX_SIZE = 155,
    PATH_SIZE = PREFIX_SIZE + 1 + NAME_SIZE + 1,
    INPUT_SIZE = 16384,
    SLICE = 262144,
};

// Whether archive N was fetched: false past the last, or where the server
// did not send it.
EM_ASYNC_JS(int, openArchive, (int n), {
    const response = await Module['pictures'][n];
    if (!response || !response.ok)
        return 0;
    Module.pictureReader = response.body.getReader();
    Module.pictureBytes = new Uint8Array(0);
    return 1;
});

// Up to SIZE more bytes of the open archive, at TO: how many, 0 at its end.
EM_ASYNC_JS(int, readArchive, (unsigned char *to, int size), {
    if (!Module.pictureBytes.length) {
        const read = await Module.pictureReader.read();
        if (read.done)
            return 0;
        Module.pictureBytes = read.value;
    }
    const part = Module.pictureBytes.subarray(0, size);
    HEAPU8.set(part, to);
    Module.pictureBytes = Module.pictureBytes.subarray(part.length);
    return part.length;
});

static struct {
    int archive; // the one being read, counting from 0
    bool open;
    lzma_stream decoder;
    unsigned char input[INPUT_SIZE];
    unsigned char header[BLOCK]; // the next entry's, once read
    bool headed;
} archives = {.decoder = LZMA_STREAM_INIT};

// Decodes the next SIZE bytes of the open archive into TO, a slice at a
// time; false where the archive ends first or is not one.
static bool decode(unsigned char *to, size_t size)
{
    lzma_stream *decoder = &archives.decoder;
    decoder->next_out = to;
    while (size > 0) {
        if (decoder->avail_in == 0) {
            int read = readArchive(archives.input, INPUT_SIZE);
            if (read <= 0)
                return false;
            decoder->next_in = archives.input;
            decoder->avail_in = (size_t)read;
        }
        yieldIfLong();
        decoder->avail_out = size < SLICE ? size : SLICE;
        size -= decoder->avail_out;
        lzma_ret result = lzma_code(decoder, LZMA_RUN);
        size += decoder->avail_out;
        if (result != LZMA_OK && (result != LZMA_STREAM_END || size > 0))
            return false;
    }
    return true;
}

// The next archive's decoder starts afresh, with none of this one's input.
static void closeArchive(void)
{
    lzma_end(&archives.decoder);
    archives.decoder = (lzma_stream)LZMA_STREAM_INIT;
    archives.open = archives.headed = false;
    archives.archive++;
}

// The next entry's header, from the next archive where one has ended; false
// once there are no more.
static bool nextHeader(void)
{
    while (!archives.headed) {
        if (!archives.open) {
            if (!openArchive(archives.archive))
                return false;
            // A decoder that could not start fails its first decode.
            (void)lzma_alone_decoder(&archives.decoder, UINT64_MAX);
            archives.open = true;
        }
        archives.headed =
            decode(archives.header, BLOCK) && archives.header[NAME] != '\0';
        if (!archives.headed)
            closeArchive();
    }
    return true;
}

// The next entry's path, its prefix, if any, and its name, into PATH.
static void entryPath(char path[PATH_SIZE])
{
    const char *header = (const char *)archives.header;
    path[0] = '\0';
    strncat(path, header + PREFIX, PREFIX_SIZE);
    if (path[0] != '\0')
        strcat(path, "/");
    strncat(path, header + NAME, NAME_SIZE);
}

// A picture's surface, its rows from the open archive; NULL where the
// archive ends first. The entry holds its width, height and bytes a pixel,
// 32-bit little-endian numbers, then its rows; RGBA or RGB, as SDL_image's
// PNG decoder makes them.
static SDL_Surface *decodePicture(size_t size)
{
    Uint32 shape[3];
    if (!decode((unsigned char *)shape, sizeof shape))
        return NULL;
    int width = (int)SDL_SwapLE32(shape[0]),
        height = (int)SDL_SwapLE32(shape[1]);
    size_t depth = SDL_SwapLE32(shape[2]), row = width * depth;
    if ((depth != 3 && depth != 4) || size != sizeof shape + row * height)
        return NULL;
    SDL_Surface *picture = SDL_CreateRGBSurfaceWithFormat(
        0, width, height, (int)depth * 8,
        depth == 4 ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24);
    // Rows with nothing between them come in one piece.
    bool whole = picture != NULL && (size_t)picture->pitch == row;
    for (int y = 0; picture != NULL && y < (whole ? 1 : height); y++) {
        unsigned char *at =
            (unsigned char *)picture->pixels + y * picture->pitch;
        if (!decode(at, whole ? row * height : row)) {
            SDL_FreeSurface(picture);
            picture = NULL;
        }
    }
    return picture;
}

// The next entry's picture; NULL where its archive is cut short, which
// ends that archive.
static SDL_Surface *nextPicture(void)
{
    size_t size = strtoul((const char *)archives.header + SIZE, NULL, 8);
    archives.headed = false;
    SDL_Surface *picture = decodePicture(size);
    // The entry's last block is filled up with zeros.
    if (picture == NULL ||
        !decode(archives.header, (BLOCK - size % BLOCK) % BLOCK)) {
        SDL_FreeSurface(picture);
        closeArchive();
        return NULL;
    }
    return picture;
}

// The pictures met before the program asked for them, newest first.
struct kept {
    struct kept *next;
    SDL_Surface *picture;
    char path[];
};
static struct kept *kept;

static SDL_Surface *takeKept(const char *file)
{
    for (struct kept **at = &kept; *at != NULL; at = &(*at)->next) {
        struct kept *found = *at;
        if (strcmp(found->path, file) == 0) {
            SDL_Surface *picture = found->picture;
            *at = found->next;
            SDL_free(found);
            return picture;
        }
    }
    return NULL;
}

// Keeps the next entry's picture under its PATH; one that cannot be kept
// is dropped, and would be missing when asked for.
static void keepNext(const char *path)
{
    SDL_Surface *picture = nextPicture();
    struct kept *entry =
        picture != NULL ? SDL_malloc(sizeof *entry + strlen(path) + 1) : NULL;
    if (entry == NULL) {
        SDL_FreeSurface(picture);
        return;
    }
    strcpy(entry->path, path);
    entry->picture = picture;
    entry->next = kept;
    kept = entry;
}

// FILE's picture, from those kept or the archives' next entries; NULL,
// with SDL's error set as for a file that is not there, where the archives
// do not hold it.
SDL_Surface *__wrap_IMG_Load(const char *file)
{
    SDL_Surface *picture = takeKept(file);
    char path[PATH_SIZE];
    while (picture == NULL && nextHeader()) {
        entryPath(path);
        if (strcmp(path, file) == 0)
            picture = nextPicture();
        else
            keepNext(path);
    }
    if (picture == NULL)
        SDL_SetError("Couldn't open %s", file);
    return picture;
}

// The pictures are decoded here, whatever the formats asked for.
int __wrap_IMG_Init(int flags)
{
    return flags;
}
