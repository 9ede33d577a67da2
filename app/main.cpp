// Placeholder for Trellic: the editor and player are not built yet.
#include <cstdio>

int main() {
    fprintf(stderr, "Trellic: placeholder program; the editor and player are not built yet.\n");
    return 1;
}
