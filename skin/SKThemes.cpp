#include "skin/SKThemes.h"

namespace sk {

bool g_SkinKitConverting = false;

const std::array<const char*, SK_ITEM_COUNT + 1> SK_FILETHEME_ITEMNAME = {};
const std::array<TskType, SK_ITEM_COUNT + 1> SK_ITEM_TYPE = {};

TskUIStyle GetSKFormStyle(tk::TComponent*) {
    return DeepBlue;
}
void GetInsideThemeBitmap(TskUIStyle, int, tk::TBitmap*, int, int) {}
TColor GetInsideThemeColor(TskUIStyle, int) {
    return 0;
}
int GetInsideThemeInt(TskUIStyle, int) {
    return -1;
}
bool GetInsideThemeBool(TskUIStyle, int) {
    return false;
}
QString GetInsideThemeResourceName(TskUIStyle, int) {
    return {};
}
bool IsHasProperty(const QObject*, const char*) {
    return false;
}
bool SetPublishedProperty(QObject*, const char*, const QVariant&) {
    return false;
}
void ContainerApplyUIStyle(tk::TWinControl*, TskUIStyle, TskFileTheme*) {}
void SpitBitmap(const tk::TBitmap*, tk::TBitmap*, int, int) {}
void SpitDraw(const tk::TBitmap*, tk::TCanvas*, const tk::TRect&, bool) {}
void SpitDrawHorizontal(const tk::TBitmap*, tk::TCanvas*, const tk::TRect&, bool) {}
void TileDraw(tk::TCanvas*, const tk::TGraphic*, const tk::TRect&) {}
void TileDraw(tk::TCanvas*, tk::TPicture*, const tk::TRect&) {}
void DoTrans(tk::TCanvas*, tk::TControl*) {}
void DrawControlBorder(tk::TCanvas*, tk::TControl*, TColor, TColor, bool) {}
void RoundPicture(tk::TBitmap*) {}
void RoundPicture3(tk::TBitmap*) {}
bool InRect(tk::TPoint, const tk::TRect&) {
    return false;
}
bool InRect(int, int, const tk::TRect&) {
    return false;
}
void PlaceControl(tk::TControl*, tk::TPoint) {}
void PlaceControl(tk::TControl*, const tk::TRect&) {}
tk::TRect GetWorkAreaRect() {
    return {};
}
bool FormHasFocus(tk::TCustomForm*) {
    return false;
}

} // namespace sk
