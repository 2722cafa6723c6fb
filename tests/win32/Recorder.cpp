// Stands in, inside a sandbox prefix, for every program a test makes Kestrum start (a system
// tool, a browser, a mail client): it only writes down that it was started, and how.
#include <windows.h>

#include <cstdio>

int main() {
    FILE* log = _wfopen(L"C:\\kestrum-started.txt", L"ab");
    if (log == nullptr) {
        return 1;
    }
    std::fprintf(log, "%ls\n", GetCommandLineW());
    std::fclose(log);
    return 0;
}
