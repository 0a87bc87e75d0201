// The skinned group box: a captioned frame drawn with one-pixel lines in the
// style's control border colour.
#pragma once

#include "skin/SKImagePanel.h"

namespace sk {

class TskCustomGroupBox : public TskCustomPanel {
    Q_OBJECT

public:
    explicit TskCustomGroupBox(tk::TComponent* AOwner);
    ~TskCustomGroupBox() override;

    // The box's own caption; the window text stays a single space, so the
    // picture-panel paint underneath never draws it. (Hides TControl's.)
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& Value);
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value);
    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    void SetUIStyle(TskUIStyle Value);
    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(TskFileTheme* Value);

    // Also enables or disables every direct child.
    void SetEnabled(bool Value) override;

    // Style and file theme to the children that take them, border and font
    // colour from the style.
    virtual void UpdateUIStyle(TskUIStyle Style, TskFileTheme* Theme);

    // |Font height|: the caption band the frame's top line is centred in.
    int CaptionHeight() const;
    // The area the radio and check groups lay their items out in.
    tk::TRect InnerRect() const;

protected:
    void Paint() override;
    void AdjustClientRect(tk::TRect& r) const override;
    void CMFontChanged(tk::TMessage& Message) override;
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;

private:
    QString m_caption;
    TColor m_borderColor = tk::clBlack;
    TskThemeLink m_theme;
};

class TskGroupBox : public TskCustomGroupBox {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    explicit TskGroupBox(tk::TComponent* AOwner) : TskCustomGroupBox(AOwner) {}
};

} // namespace sk
