// SPDX-License-Identifier: GPL-3.0-or-later
// A program with nothing but the page's storage script (web/storage.js): at start it hands the
// page what it found in the data folder, and it writes the direction data file there and asks
// for a save, as the browser's program does after each START. Used by storage_test.py.
#include <emscripten.h>
#include <stdio.h>
#include <sys/stat.h>

#define FOLDER "/home/web_user/.local/share/torvel"
#define FILE_PATH FOLDER "/rlin1.txt"

EMSCRIPTEN_KEEPALIVE void torvel_storage_saved(const char* error) {
    EM_ASM({ Module['savedError'] = UTF8ToString($0); }, error);
}

EMSCRIPTEN_KEEPALIVE int write_data_file(const char* line) {
    mkdir(FOLDER, 0777);
    FILE* file = fopen(FILE_PATH, "w");
    if (!file) return 1;
    fputs(line, file);
    fclose(file);
    EM_ASM({ Module['torvelSaveStorage'](); }, 0);
    return 0;
}

int main(void) {
    char content[256] = "";
    FILE* file = fopen(FILE_PATH, "r");
    if (file) {
        size_t length = fread(content, 1, sizeof content - 1, file);
        content[length] = 0;
        fclose(file);
    }
    EM_ASM({ Module['found'] = UTF8ToString($0); }, content);
    return 0;
}
