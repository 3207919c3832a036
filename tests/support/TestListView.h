// A report-style list view for the tests and benchmarks (the class library
// has none): the system list view with a header, columns and text rows.
#pragma once

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "classlib/portable/TypInfo.h"

#include <commctrl.h>

#include <string>

class TTestListView : public TWinControl {
public:
    DECLARE_CLASS_INFO()

    explicit TTestListView(TComponent* AOwner) : TWinControl(AOwner)
    {
        static const bool registered = [] {
            INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
            return ::InitCommonControlsEx(&icc) != FALSE;
        }();
        (void)registered;
        SetTabStop(true);
        SetColor(clWindow);
    }

    HWND Header() { return reinterpret_cast<HWND>(::SendMessageW(Handle(), LVM_GETHEADER, 0, 0)); }

    // A column at the end; false when the list view refused it.
    bool AddColumn(const std::wstring& Caption, int Width, int Format = LVCFMT_LEFT)
    {
        std::wstring text = Caption;
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = Format;
        column.cx = Width;
        column.pszText = text.data();
        const auto index = static_cast<WPARAM>(::SendMessageW(Header(), HDM_GETITEMCOUNT, 0, 0));
        return ::SendMessageW(Handle(), LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)) >= 0;
    }

    // Count rows "row 0", "row 1", ... added at the end.
    void AddRows(int Count)
    {
        const HWND window = Handle();
        ::SendMessageW(window, WM_SETREDRAW, FALSE, 0);
        for (int i = 0; i < Count; ++i) {
            std::wstring text = L"row " + std::to_wstring(i);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = text.data();
            ::SendMessageW(window, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
        ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(window, nullptr, TRUE);
    }

    int TopIndex() { return static_cast<int>(::SendMessageW(Handle(), LVM_GETTOPINDEX, 0, 0)); }

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TWinControl::CreateParams(Params);
        Params.SysClassName = WC_LISTVIEWW;
        Params.Style |= LVS_REPORT | LVS_SHOWSELALWAYS;
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    }
};

inline const TClassInfo& TTestListView::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestListView>("TListView", TWinControl::StaticClassInfo()).Build();
    return info;
}
