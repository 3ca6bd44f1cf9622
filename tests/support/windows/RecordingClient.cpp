// A stand-in for a game client on Windows: writes how it was started into
// "<its own name>.record" beside itself, then exits. Line by line: "cmdline=" and the
// command line as the process received it, "cwd=" and the working folder, one "arg=" line for
// each argument after the program's name. The file is written under another name and renamed
// when complete, so a reader never sees half of it.
#include <cstdio>
#include <string>

#include <windows.h>

int main(int argc, char** argv)
{
    char module[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 2;
    std::string record(module, length);
    record += ".record";
    const std::string partial = record + ".part";

    char folder[MAX_PATH] = {};
    const DWORD folderLength = GetCurrentDirectoryA(MAX_PATH, folder);

    FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file)
        return 3;
    std::fprintf(file, "cmdline=%s\n", GetCommandLineA());
    std::fprintf(file, "cwd=%.*s\n", static_cast<int>(folderLength), folder);
    for (int i = 1; i < argc; ++i)
        std::fprintf(file, "arg=%s\n", argv[i]);
    std::fclose(file);
    return MoveFileExA(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
