// Enumerations of the controls and forms, published to the meta-object
// system so form descriptions can name their values (Align = alTop).
#pragma once

#include <QObject>

namespace tk {

struct TEnums {
    Q_GADGET

public:
    enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
    Q_ENUM(TAlign)

    // Border style of forms; controls use bsNone and bsSingle of it.
    enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
    Q_ENUM(TFormBorderStyle)

    enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
    Q_ENUM(TBevelCut)

    enum TWindowState { wsNormal, wsMinimized, wsMaximized };
    Q_ENUM(TWindowState)

    enum TPosition {
        poDesigned,
        poDefault,
        poDefaultPosOnly,
        poDefaultSizeOnly,
        poScreenCenter,
        poDesktopCenter,
        poMainFormCenter,
        poOwnerFormCenter
    };
    Q_ENUM(TPosition)

    enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
    Q_ENUM(TFormStyle)

    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)

    enum TTextLayout { tlTop, tlCenter, tlBottom };
    Q_ENUM(TTextLayout)

    enum TCloseAction { caNone, caHide, caFree, caMinimize };
    Q_ENUM(TCloseAction)

    enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
    Q_ENUM(TResizeStyle)

    enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
    Q_ENUM(TViewStyle)

    // Cursor identifiers with the classic values.
    enum TCursor {
        crDefault = 0,
        crNone = -1,
        crArrow = -2,
        crCross = -3,
        crIBeam = -4,
        crSizeNESW = -6,
        crSizeNS = -7,
        crSizeNWSE = -8,
        crSizeWE = -9,
        crUpArrow = -10,
        crHourGlass = -11,
        crDrag = -12,
        crHSplit = -14,
        crVSplit = -15,
        crNo = -18,
        crAppStart = -19,
        crHelp = -20,
        crHandPoint = -21,
        crSizeAll = -22
    };
    Q_ENUM(TCursor)

    enum TModalResultValue {
        mrNone = 0,
        mrOk = 1,
        mrCancel = 2,
        mrAbort = 3,
        mrRetry = 4,
        mrIgnore = 5,
        mrYes = 6,
        mrNo = 7,
        mrAll = 8,
        mrNoToAll = 9,
        mrYesToAll = 10
    };
    Q_ENUM(TModalResultValue)
};

using TAlign = TEnums::TAlign;
using TFormBorderStyle = TEnums::TFormBorderStyle;
using TBevelCut = TEnums::TBevelCut;
using TWindowState = TEnums::TWindowState;
using TPosition = TEnums::TPosition;
using TFormStyle = TEnums::TFormStyle;
using TAlignment = TEnums::TAlignment;
using TTextLayout = TEnums::TTextLayout;
using TCloseAction = TEnums::TCloseAction;
using TResizeStyle = TEnums::TResizeStyle;
using TViewStyle = TEnums::TViewStyle;
using TCursor = TEnums::TCursor;
using TModalResult = int;
using enum TEnums::TAlign;
using enum TEnums::TFormBorderStyle;
using enum TEnums::TBevelCut;
using enum TEnums::TWindowState;
using enum TEnums::TPosition;
using enum TEnums::TFormStyle;
using enum TEnums::TAlignment;
using enum TEnums::TTextLayout;
using enum TEnums::TCloseAction;
using enum TEnums::TResizeStyle;
using enum TEnums::TViewStyle;
using enum TEnums::TCursor;
using enum TEnums::TModalResultValue;

// How a control behaves; set by each class in its constructor.
enum TControlStyleFlag : unsigned {
    csAcceptsControls = 1u << 0,
    csCaptureMouse = 1u << 1,
    csClickEvents = 1u << 2,
    csFramed = 1u << 3,
    csSetCaption = 1u << 4,
    csOpaque = 1u << 5,
    csDoubleClicks = 1u << 6,
    csFixedWidth = 1u << 7,
    csFixedHeight = 1u << 8,
    csNoStdEvents = 1u << 9,
    csParentBackground = 1u << 10,
};
using TControlStyle = unsigned;

// State of an item (list row, tool button) as custom draw sees it. A button
// held down with the mouse is pressed and selected; one whose drop-down menu
// is open is selected.
enum TCustomDrawStateFlag : unsigned {
    cdsSelected = 1u << 0,
    cdsGrayed = 1u << 1,
    cdsDisabled = 1u << 2,
    cdsChecked = 1u << 3,
    cdsFocused = 1u << 4,
    cdsDefault = 1u << 5,
    cdsHot = 1u << 6,
    cdsMarked = 1u << 7,
    cdsIndeterminate = 1u << 8,
    cdsPressed = 1u << 9,
};
using TCustomDrawState = unsigned;

} // namespace tk
