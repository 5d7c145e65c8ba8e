// Entry of every end-to-end test program. After GoogleTest's own flags it takes
//   --scr=PATH           the saver under test (vimra.scr in the build root)
//   --password-cpl=PATH  the PASSWORD.CPL double
//   --work=DIR           where each test case gets a fresh folder
// and any other --name=PATH that a test program asks for by name.
// Paths may be Unix paths (they are reached through Wine's Z: drive).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <map>
#include <string>

#include "harness.h"

namespace e2e {
namespace {

std::string saverPath;
std::string passwordCplPath;
std::string workRoot;
std::map<std::string, std::string> pathArguments;

std::string ToWindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

void MakeFolders(const std::string& path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace

const std::string& SaverPath() { return saverPath; }
const std::string& PasswordCplPath() { return passwordCplPath; }

std::string PathArgument(const std::string& name)
{
    auto found = pathArguments.find(name);
    return found == pathArguments.end() ? std::string() : found->second;
}

std::string FreshFolder(const std::string& name)
{
    std::string folder = JoinPath(workRoot, name);
    MakeFolders(folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA(JoinPath(folder, found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return folder;
}

}  // namespace e2e

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        size_t equals = arg.find('=');
        if (arg.compare(0, 2, "--") != 0 || equals == std::string::npos) continue;
        e2e::pathArguments[arg.substr(2, equals - 2)] = e2e::ToWindowsPath(arg.substr(equals + 1));
    }
    e2e::saverPath = e2e::PathArgument("scr");
    e2e::passwordCplPath = e2e::PathArgument("password-cpl");
    e2e::workRoot = e2e::PathArgument("work");
    if (e2e::workRoot.empty()) {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        e2e::workRoot = e2e::JoinPath(temp, "vimra-e2e");
    }
    return RUN_ALL_TESTS();
}
