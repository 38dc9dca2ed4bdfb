#pragma once
// Rich edit: a native edit control hosted inside the element and painted as
// part of the skin. Caret, selection, clipboard, undo and Unicode typing are
// the control's; the element adds the look, the hint text while empty, Tab
// order, and the change event 161 once the program enabled it.
#include "elements/element.h"

namespace kit {

class RichEdit : public Element {
public:
    RichEdit() : Element(ElementKind::Edit) {}
    ~RichEdit() override;

    void SetText(const std::wstring& text) override;  // raises no 161
    std::wstring CurrentText() const;
    int CopyText(wchar_t* buffer, int sizeInUnits) const;
    void EnableChangeEvent(bool enable) { m_changeEvents = enable; }
    void SetHint(const std::wstring& hint);
    void SetHintColor(Color color);
    void SetMultiLine(bool enable);
    void SetAutoWrap(bool enable);
    void SetScrollBarV(bool show);
    void SetFocusBorder(Color color) { m_focusBorder = color; }
    HWND Native() const { return m_native; }

    // From the owning window.
    void OnNativeCommand(WORD code);
    HBRUSH OnControlColor(HDC dc);

    void Paint(Canvas& canvas, const PaintState& state) const override;
    bool TakesFocus() const override { return true; }
    void Activate() override;
    void OnFocusChanged(bool focused, bool byKeyboard) override;
    void OnAttached() override { CreateNative(); }
    void OnLayout() override { PlaceNative(); }
    void SyncNative() override;

    std::wstring AccessibleName() const override;
    long AccRole() const override;
    bool AccValue(std::wstring& value) const override;
    std::wstring AccDefaultAction() const override { return L"Focus"; }

private:
    static LRESULT CALLBACK NativeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNativeMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateNative();
    void Recreate();
    void PlaceNative();
    void PaintHint();
    Color Background() const;
    Color TextColor() const;

    HWND m_native = nullptr;
    WNDPROC m_baseProc = nullptr;
    HBRUSH m_brush = nullptr;
    Color m_brushColor;
    bool m_multiLine = false;
    bool m_autoWrap = false;
    bool m_scrollBarV = true;
    bool m_changeEvents = false;
    bool m_settingText = false;
    bool m_wasEmpty = true;
    bool m_hasFocus = false;
    std::wstring m_hint;
    Color m_hintColor = theme::kMutedText;
    std::optional<Color> m_focusBorder;
};

}  // namespace kit
