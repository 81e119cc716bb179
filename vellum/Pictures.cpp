#include "Pictures.h"

#include "com/AutomationError.h"
#include "com/Ptr.h"
#include "frame/DLLErrors.h"

#include <wincodec.h>

#include <cwctype>

namespace vellum {
namespace {

using com::ComPtr;

// Platform failures inside the imaging component carry their own code: a
// Win32 code is reported like any platform error, others as "Unexpected".
void check(HRESULT hr, const wchar_t* source, const wchar_t* description) {
    if (SUCCEEDED(hr)) return;
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) kolorit::RaiseVBDLLError(source, description, HRESULT_CODE(hr));
    wchar_t code[16];
    wsprintfW(code, L" (0x%08lX)", static_cast<unsigned long>(hr));
    kolorit::RaiseVBDLLError(source, description + std::wstring(code), 0);
}

const GUID& containerFor(const std::wstring& path) {
    const auto dot = path.rfind(L'.');
    std::wstring extension = dot == std::wstring::npos ? L"" : path.substr(dot + 1);
    for (auto& c : extension) c = static_cast<wchar_t>(std::towlower(c));
    if (extension == L"png") return GUID_ContainerFormatPng;
    if (extension == L"bmp") return GUID_ContainerFormatBmp;
    com::raise(com::RuntimeError::InvalidArgument);
}

ComPtr<IWICImagingFactory> imagingFactory(const wchar_t* source) {
    ComPtr<IWICImagingFactory> factory;
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)), source,
          L"The imaging component is not available!");
    return factory;
}

}  // namespace

BITMAPINFO topDown32(long width, long height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void savePicture(HDC dc, HBITMAP bitmap, long width, long height, const std::wstring& path, const wchar_t* source) {
    const GUID& container = containerFor(path);
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info = topDown32(width, height);
    if (GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS) == 0)
        kolorit::RaiseVBDLLError(source, L"GetDIBits failed!");

    auto factory = imagingFactory(source);
    ComPtr<IWICStream> stream;
    check(factory->CreateStream(&stream), source, L"Cannot write the file!");
    check(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), source, L"Cannot write the file!");
    ComPtr<IWICBitmapEncoder> encoder;
    check(factory->CreateEncoder(container, nullptr, &encoder), source, L"Cannot encode the picture!");
    check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), source, L"Cannot encode the picture!");
    ComPtr<IWICBitmapFrameEncode> frame;
    check(encoder->CreateNewFrame(&frame, nullptr), source, L"Cannot encode the picture!");
    check(frame->Initialize(nullptr), source, L"Cannot encode the picture!");
    check(frame->SetSize(width, height), source, L"Cannot encode the picture!");
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    check(frame->SetPixelFormat(&format), source, L"Cannot encode the picture!");
    if (!IsEqualGUID(format, GUID_WICPixelFormat32bppBGR)) {
        // The encoder wants another layout; let the imaging component convert.
        ComPtr<IWICBitmap> image;
        check(factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGR, width * 4,
                                              static_cast<UINT>(pixels.size() * 4),
                                              reinterpret_cast<BYTE*>(pixels.data()), &image),
              source, L"Cannot encode the picture!");
        ComPtr<IWICBitmapSource> converted;
        check(WICConvertBitmapSource(format, image.Get(), &converted), source, L"Cannot encode the picture!");
        check(frame->WriteSource(converted.Get(), nullptr), source, L"Cannot encode the picture!");
    } else {
        check(frame->WritePixels(height, width * 4, static_cast<UINT>(pixels.size() * 4),
                                 reinterpret_cast<BYTE*>(pixels.data())),
              source, L"Cannot encode the picture!");
    }
    check(frame->Commit(), source, L"Cannot encode the picture!");
    check(encoder->Commit(), source, L"Cannot write the file!");
}

Picture loadPicture(const std::wstring& path, const wchar_t* source) {
    auto factory = imagingFactory(source);
    ComPtr<IWICBitmapDecoder> decoder;
    check(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                             &decoder),
          source, L"Cannot read the picture!");
    ComPtr<IWICBitmapFrameDecode> frame;
    check(decoder->GetFrame(0, &frame), source, L"Cannot read the picture!");
    ComPtr<IWICBitmapSource> converted;
    check(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.Get(), &converted), source,
          L"Cannot read the picture!");
    UINT width = 0, height = 0;
    check(converted->GetSize(&width, &height), source, L"Cannot read the picture!");
    Picture picture{static_cast<long>(width), static_cast<long>(height),
                    std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
    check(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.pixels.size() * 4),
                                reinterpret_cast<BYTE*>(picture.pixels.data())),
          source, L"Cannot read the picture!");
    // Converters may set the unused byte; a surface holds plain RGB values, so
    // that a colour matches by its value alone.
    for (std::uint32_t& pixel : picture.pixels) pixel &= 0x00FFFFFF;
    return picture;
}

void paintPicture(HDC dc, const Picture& picture, const wchar_t* source) {
    BITMAPINFO info = topDown32(picture.width, picture.height);
    if (SetDIBitsToDevice(dc, 0, 0, picture.width, picture.height, 0, 0, 0, picture.height, picture.pixels.data(),
                          &info, DIB_RGB_COLORS) == 0)
        kolorit::RaiseVBDLLError(source, L"SetDIBitsToDevice failed!");
}

}  // namespace vellum
