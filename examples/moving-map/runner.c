/* examples/moving-map/runner.c
 * Stands in for the panel: loads the moving-map gauge DLL, places the
 * aircraft, draws one frame into a 32-bit DIB section and saves it as a
 * PNG. Needs only Windows' own DLLs, so the PNG is written here (stored,
 * uncompressed deflate blocks: larger files, no compression library).
 *
 *   moving-map-runner GAUGE.dll SIMULATOR_FOLDER LAT_DEG LON_DEG TRACK_DEG RANGE_NM OUT.png */
#include "moving_map.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define FRAME_SIZE 512

typedef struct PngOut {
    FILE* file;
    unsigned long crc;
    int failed;
} PngOut;

static unsigned long g_crcTable[256];

static void MakeCrcTable(void) {
    unsigned long n, k, c;
    for (n = 0; n < 256; ++n) {
        for (c = n, k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320UL ^ (c >> 1) : c >> 1;
        g_crcTable[n] = c;
    }
}

/* Writes bytes into the file and the running chunk CRC. */
static void PutBytes(PngOut* out, const unsigned char* data, size_t size) {
    size_t i;
    for (i = 0; i < size; ++i)
        out->crc = g_crcTable[(out->crc ^ data[i]) & 0xFF] ^ (out->crc >> 8);
    if (fwrite(data, 1, size, out->file) != size)
        out->failed = 1;
}

static void PutU32(PngOut* out, unsigned long v) {
    unsigned char b[4];
    b[0] = (unsigned char)(v >> 24);
    b[1] = (unsigned char)(v >> 16);
    b[2] = (unsigned char)(v >> 8);
    b[3] = (unsigned char)v;
    PutBytes(out, b, 4);
}

static void BeginChunk(PngOut* out, unsigned long length, const char* type) {
    PutU32(out, length);
    out->crc = 0xFFFFFFFFUL;
    PutBytes(out, (const unsigned char*)type, 4);
}

static void EndChunk(PngOut* out) {
    PutU32(out, out->crc ^ 0xFFFFFFFFUL);
}

/* An RGB PNG of a top-down BGRA frame: one IDAT chunk holding a zlib
 * stream of stored blocks, one filter byte (none) before each row. */
static int SavePng(const char* path, const unsigned char* bgra, int width, int height) {
    static const unsigned char SIGNATURE[8] = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'};
    const unsigned long rowBytes = 1 + 3UL * (unsigned long)width;
    const unsigned long raw = rowBytes * (unsigned long)height;
    const unsigned long blocks = (raw + 65534) / 65535;
    unsigned char* image = (unsigned char*)malloc(raw);
    unsigned long a = 1, b = 0, i, done;
    PngOut out = {NULL, 0, 0};
    int x, y;

    if (image == NULL)
        return 0;
    for (y = 0; y < height; ++y) {
        unsigned char* row = image + rowBytes * (unsigned long)y;
        const unsigned char* pixel = bgra + 4UL * (unsigned long)width * (unsigned long)y;
        row[0] = 0;
        for (x = 0; x < width; ++x, pixel += 4) {
            row[1 + 3 * x] = pixel[2];
            row[2 + 3 * x] = pixel[1];
            row[3 + 3 * x] = pixel[0];
        }
    }
    for (i = 0; i < raw; ++i) { /* Adler-32 of the uncompressed data */
        a = (a + image[i]) % 65521;
        b = (b + a) % 65521;
    }
    out.file = fopen(path, "wb");
    if (out.file == NULL) {
        free(image);
        return 0;
    }
    MakeCrcTable();
    fwrite(SIGNATURE, 1, sizeof SIGNATURE, out.file);
    BeginChunk(&out, 13, "IHDR");
    PutU32(&out, (unsigned long)width);
    PutU32(&out, (unsigned long)height);
    PutBytes(&out, (const unsigned char*)"\x08\x02\x00\x00\x00", 5); /* 8-bit RGB */
    EndChunk(&out);
    BeginChunk(&out, 2 + blocks * 5 + raw + 4, "IDAT");
    PutBytes(&out, (const unsigned char*)"\x78\x01", 2);
    for (done = 0; done < raw;) {
        const unsigned long n = raw - done < 65535 ? raw - done : 65535;
        unsigned char header[5];
        header[0] = done + n == raw ? 1 : 0; /* last block? stored */
        header[1] = (unsigned char)n;
        header[2] = (unsigned char)(n >> 8);
        header[3] = (unsigned char)~n;
        header[4] = (unsigned char)(~n >> 8);
        PutBytes(&out, header, 5);
        PutBytes(&out, image + done, n);
        done += n;
    }
    PutU32(&out, (b << 16) | a);
    EndChunk(&out);
    BeginChunk(&out, 0, "IEND");
    EndChunk(&out);
    free(image);
    if (fclose(out.file) != 0)
        out.failed = 1;
    return !out.failed;
}

int main(int argc, char** argv) {
    HMODULE gauge;
    MovingMapOpenFn open;
    MovingMapSetAircraftFn setAircraft;
    MovingMapDrawFn draw;
    MovingMapCloseFn close;
    BITMAPINFO info;
    void* bits = NULL;
    HBITMAP frame;
    HGDIOBJ previous, penBefore, brushBefore, fontBefore;
    HDC dc;

    if (argc != 8) {
        fprintf(stderr, "usage: moving-map-runner GAUGE.dll SIMULATOR_FOLDER LAT_DEG LON_DEG "
                        "TRACK_DEG RANGE_NM OUT.png\n");
        return 2;
    }
    gauge = LoadLibraryA(argv[1]);
    if (gauge == NULL) {
        fprintf(stderr, "cannot load %s (error %lu)\n", argv[1], (unsigned long)GetLastError());
        return 1;
    }
    /* GetProcAddress gives a FARPROC: cast through the generic function type. */
    open = (MovingMapOpenFn)(void (*)(void))GetProcAddress(gauge, "MovingMap_Open");
    setAircraft =
        (MovingMapSetAircraftFn)(void (*)(void))GetProcAddress(gauge, "MovingMap_SetAircraft");
    draw = (MovingMapDrawFn)(void (*)(void))GetProcAddress(gauge, "MovingMap_Draw");
    close = (MovingMapCloseFn)(void (*)(void))GetProcAddress(gauge, "MovingMap_Close");
    if (!open || !setAircraft || !draw || !close) {
        fprintf(stderr, "%s lacks the gauge's entry points\n", argv[1]);
        return 1;
    }
    if (!open(argv[2])) {
        fprintf(stderr, "the gauge could not open\n");
        return 1;
    }
    setAircraft(atof(argv[3]), atof(argv[4]), atof(argv[5]));

    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = FRAME_SIZE;
    info.bmiHeader.biHeight = -FRAME_SIZE; /* top-down rows */
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(NULL);
    frame = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (dc == NULL || frame == NULL || bits == NULL) {
        fprintf(stderr, "cannot make the frame\n");
        return 1;
    }
    previous = SelectObject(dc, frame);
    penBefore = GetCurrentObject(dc, OBJ_PEN);
    brushBefore = GetCurrentObject(dc, OBJ_BRUSH);
    fontBefore = GetCurrentObject(dc, OBJ_FONT);
    draw(dc, FRAME_SIZE, FRAME_SIZE, atof(argv[6]));
    /* A gauge that left its own pen, brush or font selected here could
     * not delete it: the panel's DC must come back as it was lent. */
    if (GetCurrentObject(dc, OBJ_PEN) != penBefore ||
        GetCurrentObject(dc, OBJ_BRUSH) != brushBefore ||
        GetCurrentObject(dc, OBJ_FONT) != fontBefore) {
        fprintf(stderr, "the gauge left its own pen, brush or font selected in the DC\n");
        return 1;
    }
    GdiFlush();
    close();
    FreeLibrary(gauge);

    if (!SavePng(argv[7], (const unsigned char*)bits, FRAME_SIZE, FRAME_SIZE)) {
        fprintf(stderr, "cannot write %s\n", argv[7]);
        return 1;
    }
    SelectObject(dc, previous);
    DeleteObject(frame);
    DeleteDC(dc);
    printf("drew %dx%d at %s %s track %s, %s NM, into %s\n", FRAME_SIZE, FRAME_SIZE, argv[3],
           argv[4], argv[5], argv[6], argv[7]);
    return 0;
}
