#include "graphics/image.h"

#include <wincodec.h>

namespace kit {

namespace {

// Releases a COM interface when the scope ends.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr()
    {
        if (m_p != nullptr)
            m_p->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &m_p; }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }

private:
    T* m_p = nullptr;
};

}  // namespace

Image::~Image()
{
    if (m_old != nullptr)
        SelectObject(m_dc, m_old);
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
    if (m_dc != nullptr)
        DeleteDC(m_dc);
}

std::shared_ptr<Image> Image::Load(const std::wstring& path, std::wstring& error)
{
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())))) {
        error = L"the image decoder is not available (was XInitXCGUI called?)";
        return nullptr;
    }
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.Out()))) {
        error = L"cannot read the image " + path;
        return nullptr;
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > 8192 || height > 8192) {
        error = L"cannot decode the image " + path;
        return nullptr;
    }
    std::shared_ptr<Image> image(new Image());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    image->m_dc = CreateCompatibleDC(nullptr);
    image->m_bitmap = CreateDIBSection(image->m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (image->m_dc == nullptr || image->m_bitmap == nullptr ||
        FAILED(converter->CopyPixels(nullptr, width * 4, width * 4 * height,
                                     static_cast<BYTE*>(bits)))) {
        error = L"cannot decode the image " + path;
        return nullptr;
    }
    image->m_old = SelectObject(image->m_dc, image->m_bitmap);
    image->m_width = static_cast<int>(width);
    image->m_height = static_cast<int>(height);
    return image;
}

}  // namespace kit
