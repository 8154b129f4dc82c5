#include "ui/font.h"

namespace {

LOGFONTW MessageLogFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                    static_cast<UINT>(dpi))) {
        // Older systems: the metrics at the system DPI, scaled.
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfMessageFont.lfHeight =
            MulDiv(metrics.lfMessageFont.lfHeight, dpi, USER_DEFAULT_SCREEN_DPI);
    }
    return metrics.lfMessageFont;
}

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

}  // namespace

Font MessageFont(int dpi) {
    const LOGFONTW log = MessageLogFont(dpi);
    return Font(CreateFontIndirectW(&log));
}

Font MonospacedFont(int dpi) {
    LOGFONTW log = MessageLogFont(dpi);
    log.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    wcscpy_s(log.lfFaceName, L"Consolas");
    return Font(CreateFontIndirectW(&log));
}

void ApplyFont(HWND parent, HFONT font) {
    EnumChildWindows(parent, SetFontOnChild, reinterpret_cast<LPARAM>(font));
}
