// Writes the reference of the type libraries inside kolorit.dll and
// vellum.dll (found beside this program) to a Markdown file, or with
// --check compares it with the file and fails when they differ.
//
//     typelib-reference OUTPUT.md
//     typelib-reference --check REFERENCE.md

#include "ReferenceWriter.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

std::wstring besideProgram(const wchar_t* file) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + file;
}

std::string generated() {
    ReferenceWriter writer;
    for (const wchar_t* file : {L"kolorit.dll", L"vellum.dll"}) {
        Microsoft::WRL::ComPtr<ITypeLib> library;
        const HRESULT hr = LoadTypeLibEx(besideProgram(file).c_str(), REGKIND_NONE, &library);
        if (FAILED(hr)) {
            std::fprintf(stderr, "cannot load the type library of %ls (%08lX)\n", file, static_cast<unsigned long>(hr));
            throw std::runtime_error("no type library");
        }
        writer.add(library.Get(), file);
    }
    return writer.markdown();
}

}  // namespace

int main(int argc, char** argv) {
    const bool checking = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    if (argc != 2 && !checking) {
        std::fprintf(stderr, "usage: typelib-reference [--check] FILE.md\n");
        return 2;
    }
    const char* file = argv[argc - 1];
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string text;
    try {
        text = generated();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    if (checking) {
        std::ifstream in(file, std::ios::binary);
        const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (written == text) return 0;
        std::fprintf(stderr,
                     "docs/reference.md is stale: it no longer describes the built type libraries.\n"
                     "Run `make docs` and commit docs/reference.md.\n");
        return 1;
    }
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", file);
        return 1;
    }
    return 0;
}
