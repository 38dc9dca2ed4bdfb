// Element calls. A handle that is unknown, gone, or of another kind finds
// nothing and the call does nothing (or answers 0).
#include "core/toolkit_state.h"
#include "elements/button.h"
#include "elements/progress_bar.h"
#include "elements/rich_edit.h"
#include "elements/shape_text.h"
#include "toolkit/xcgui.h"
#include "window/window.h"

using kit::ElementKind;

namespace {

kit::Element* Find(HXCGUI handle) { return kit::Toolkit::Get().Handles().FindElement(handle); }

template <class T>
T* FindKind(HXCGUI handle, ElementKind kind)
{
    kit::Element* element = Find(handle);
    return element != nullptr && element->Kind() == kind ? static_cast<T*>(element) : nullptr;
}

kit::Button* FindButton(HELE h) { return FindKind<kit::Button>(h, ElementKind::Button); }
kit::RichEdit* FindEdit(HELE h) { return FindKind<kit::RichEdit>(h, ElementKind::Edit); }
kit::ProgressBar* FindBar(HELE h) { return FindKind<kit::ProgressBar>(h, ElementKind::Progress); }

void Repaint(kit::Element& element, BOOL immediate)
{
    element.Invalidate();
    if (immediate && element.OwnerWindow() != nullptr)
        element.OwnerWindow()->PaintNow();
}

}  // namespace

void XEle_ShowEle(HELE element, BOOL show)
{
    kit::BusyScope busy;
    if (kit::Element* e = Find(element))
        e->SetShown(show != FALSE);
}

BOOL XEle_IsShow(HELE element)
{
    kit::Element* e = Find(element);
    return e != nullptr && e->IsShownFlag() ? TRUE : FALSE;
}

void XEle_Enable(HELE element, BOOL enable)
{
    kit::BusyScope busy;
    if (kit::Element* e = Find(element))
        e->SetEnabled(enable != FALSE);
}

void XEle_RedrawEle(HELE element, BOOL immediate)
{
    kit::BusyScope busy;
    if (kit::Element* e = Find(element))
        Repaint(*e, immediate);
}

BOOL XBtn_IsCheck(HELE button)
{
    kit::Button* b = FindButton(button);
    return b != nullptr && b->IsChecked() ? TRUE : FALSE;
}

void XBtn_SetText(HELE button, const wchar_t* text)
{
    if (kit::Button* b = FindButton(button))
        b->SetText(text != nullptr ? text : L"");
}

void XShapeText_SetText(HXCGUI shapeText, const wchar_t* text)
{
    if (auto* t = FindKind<kit::ShapeText>(shapeText, ElementKind::Text))
        t->SetText(text != nullptr ? text : L"");
}

void XRichEdit_SetText(HELE edit, const wchar_t* text)
{
    kit::BusyScope busy;
    if (kit::RichEdit* e = FindEdit(edit))
        e->SetText(text != nullptr ? text : L"");
}

int XRichEdit_GetText(HELE edit, wchar_t* buffer, int sizeInUnits)
{
    kit::RichEdit* e = FindEdit(edit);
    return e != nullptr ? e->CopyText(buffer, sizeInUnits) : 0;
}

void XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE(HELE edit, BOOL enable)
{
    if (kit::RichEdit* e = FindEdit(edit))
        e->EnableChangeEvent(enable != FALSE);
}

void XRichEdit_SetDefaultText(HELE edit, const wchar_t* hint)
{
    if (kit::RichEdit* e = FindEdit(edit))
        e->SetHint(hint != nullptr ? hint : L"");
}

void XRichEdit_SetDefaultTextColor(HELE edit, COLORREF color, BYTE alpha)
{
    if (kit::RichEdit* e = FindEdit(edit))
        e->SetHintColor(kit::Color::FromColorRef(color, alpha));
}

void XRichEdit_EnableMultiLine(HELE edit, BOOL enable)
{
    kit::BusyScope busy;
    if (kit::RichEdit* e = FindEdit(edit))
        e->SetMultiLine(enable != FALSE);
}

void XRichEdit_EnableAutoWrap(HELE edit, BOOL enable)
{
    kit::BusyScope busy;
    if (kit::RichEdit* e = FindEdit(edit))
        e->SetAutoWrap(enable != FALSE);
}

void XSView_ShowSBarV(HELE scrollView, BOOL show)
{
    kit::BusyScope busy;
    if (kit::RichEdit* e = FindEdit(scrollView))
        e->SetScrollBarV(show != FALSE);
}

void XProgBar_SetRange(HELE bar, int range)
{
    kit::BusyScope busy;
    if (kit::ProgressBar* b = FindBar(bar))
        b->SetRange(range);
}

void XProgBar_SetSpaceTwo(HELE bar, int leftSpace, int rightSpace)
{
    if (kit::ProgressBar* b = FindBar(bar))
        b->SetSpaces(leftSpace, rightSpace);
}

void XProgBar_SetPos(HELE bar, int position)
{
    if (kit::ProgressBar* b = FindBar(bar))
        b->SetPos(position);
}
