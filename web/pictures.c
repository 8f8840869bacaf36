// The browser build's IMG_Load, put in place of SDL_image's by the linker
// (-Wl,--wrap=IMG_Load; see docs/WEB.md). The pictures come in compressed
// tar archives (web/pack.py), the signs' and the language's words', which the
// page starts fetching as it loads (Module.pictures, in the order the
// program asks for their pictures). Each picture the program asks for is
// decoded when it asks, from as much of the archive as has arrived, waiting
// for the network where it must; its PNG bytes go to SDL_image from memory
// and are freed. Only the decoder's window and one picture are held, and no
// file system is needed. A picture that is not the archives' next falls
// through to SDL_image's own IMG_Load, which fails as the desktop's does for
// a missing file.
#include <SDL_image.h>
#include <emscripten.h>
#include <lzma.h>
#include <stdbool.h>
#include <stdlib.h>
#include <string.h>

// A ustar header's fields (POSIX), and what is decoded at a time.
enum {
    BLOCK = 512,
    NAME = 0,
    NAME_SIZE = 100,
    SIZE = 124,
    PREFIX = 345,
    PREFIX_SIZE = 155,
    INPUT_SIZE = 16384,
    SLICE = 262144,
};

// The browser gets its thread back once the program has run this long: the
// page then stays responsive, and Chromium counts no long task.
static const double TASK_MS = 30;

SDL_Surface *__real_IMG_Load(const char *file);

// Whether archive N was fetched: false past the last, or where the server
// did not send it.
EM_ASYNC_JS(int, openArchive, (int n), {
    const response = await Module.pictures[n];
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

// A message to itself comes back as a task of its own, with no timer's
// clamping: the browser draws and handles input in between.
EM_ASYNC_JS(void, yieldToBrowser, (), {
    await new Promise(function(resolve) {
        const channel = new MessageChannel();
        channel.port1.onmessage = resolve;
        channel.port2.postMessage(null);
    });
});

static struct {
    int archive; // the one being read, counting from 0
    bool open;
    lzma_stream decoder;
    unsigned char input[INPUT_SIZE];
    unsigned char header[BLOCK]; // the next entry's, once read
    bool headed;
    double yielded; // when the program last gave the browser its thread
} archives = {.decoder = LZMA_STREAM_INIT};

static void yieldIfLong(void)
{
    if (emscripten_get_now() - archives.yielded < TASK_MS)
        return;
    yieldToBrowser();
    archives.yielded = emscripten_get_now();
}

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

// The entry's path: its prefix, if any, and its name.
static bool named(const char *file)
{
    const char *header = (const char *)archives.header;
    size_t prefix = strnlen(header + PREFIX, PREFIX_SIZE);
    if (prefix > 0 &&
        (strncmp(file, header + PREFIX, prefix) != 0 || file[prefix++] != '/'))
        return false;
    return strncmp(file + prefix, header + NAME, NAME_SIZE) == 0 &&
           strlen(file + prefix) <= NAME_SIZE;
}

// The next entry's data, padded to whole blocks, if FILE is its path.
static unsigned char *takeEntry(const char *file, size_t *size)
{
    if (!nextHeader() || !named(file))
        return NULL;
    *size = strtoul((const char *)archives.header + SIZE, NULL, 8);
    size_t blocks = (*size + BLOCK - 1) / BLOCK * BLOCK;
    unsigned char *data = malloc(blocks);
    archives.headed = false;
    if (data == NULL || !decode(data, blocks)) {
        free(data);
        closeArchive();
        return NULL;
    }
    return data;
}

SDL_Surface *__wrap_IMG_Load(const char *file)
{
    size_t size;
    unsigned char *data = takeEntry(file, &size);
    if (data == NULL)
        return __real_IMG_Load(file);
    SDL_Surface *picture = IMG_Load_RW(SDL_RWFromConstMem(data, size), 1);
    free(data);
    return picture;
}
