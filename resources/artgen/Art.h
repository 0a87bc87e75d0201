// The built-in images, as the generator draws them, and the pieces the style
// painters share.
#pragma once

#include <string>
#include <vector>

#include "resources/artgen/Paint.h"

namespace art {

struct Bitmap {
    std::string name; // resource name, without suffix
    Canvas image;
    int states = 1;    // equal slices side by side, for the contact sheet
    std::string group; // contact sheet: a style name or "Shared"
};

class Catalogue {
public:
    void Add(std::string group, std::string name, Canvas image, int states = 1);
    const std::vector<Bitmap>& All() const { return m_items; }

private:
    std::vector<Bitmap> m_items;
};

void AddMacOS(Catalogue& c);
void AddWinXP(Catalogue& c);
void AddDeepBlue(Catalogue& c);
void AddProtein(Catalogue& c);
void AddBlueGlass(Catalogue& c);
void AddShared(Catalogue& c);
void AddPalette(Catalogue& c); // designer palette icons, never loaded at run time

// Every image, in a fixed order.
Catalogue BuildAll();

// The program icon: 16-colour pixel art at 32 and 16 pixels. Rows of
// palette letters; '.' is transparent.
struct IconImage {
    int size;
    std::vector<std::string> rows;
};
std::vector<IconImage> ProgramIcon();
// The 16 colours of the icon palette, in palette order, and the letter that
// names each one in the rows.
struct PaletteEntry {
    char letter;
    Rgb colour;
};
const std::vector<PaletteEntry>& IconPalette();
Canvas IconPreview(const IconImage& icon, Rgb background);
// The program icon with an alpha channel, for the desktop: the pixel art at
// its own sizes, the same design drawn smooth at any other.
QImage ProgramIconImage(int size);
inline constexpr int kDesktopIconSizes[] = {16, 32, 48, 128, 256};

// ---- shared pieces ---------------------------------------------------------

// States side by side.
Canvas Strip(const std::vector<Canvas>& states);

// A rounded face: border, an optional one-pixel ring inside it, the fill, and
// an optional translucent shine over the upper part.
struct Face {
    double radius = 3;
    Rgb border;
    Ramp fill;
    bool ring = false;
    Ramp ringRamp;
    double shineAlpha = 0;   // at the top of the shine; fades to 0 at its bottom
    double shineHeight = 0;  // share of the height
    double shineInset = 2;   // from the left and right edges
    bool horizontal = false; // fill and ring ramps run left to right
};

// Paints the face into r of the canvas (edges blended with what is there).
void DrawFace(Canvas& c, const QRect& r, const Face& f);
Shape FaceShape(const QRect& r, double radius);
// A w x h slice: background bg, the face over the whole slice; keyed: the
// corners outside the face become magenta.
Canvas FaceSlice(int w, int h, const Face& f, const Paint& bg, bool keyed);

// Glyphs for title buttons and arrows ('#' pixels).
namespace glyph {
extern const std::vector<std::string> kClose;
extern const std::vector<std::string> kCloseSmall;
extern const std::vector<std::string> kMax;
extern const std::vector<std::string> kRestore;
extern const std::vector<std::string> kMin;
extern const std::vector<std::string> kHelp;
extern const std::vector<std::string> kMenu;
extern const std::vector<std::string> kArrowUp;      // 7 x 4
extern const std::vector<std::string> kArrowUpSmall; // 5 x 3
extern const std::vector<std::string> kChevronUp;    // 7 x 4, two pixels thick
extern const std::vector<std::string> kCheck;        // 7 x 7
extern const std::vector<std::string> kCheckSmall;   // 5 x 5
} // namespace glyph

// Draws a glyph centred in r, with an optional shadow one pixel down-right.
void CentreGlyph(Canvas& c, const QRect& r, const std::vector<std::string>& g, Rgb colour);
void CentreGlyph(Canvas& c, const QRect& r, const std::vector<std::string>& g, Rgb colour,
                 Rgb shadow, double shadowAlpha);

// Title button kinds in strip order, three states each.
enum class TitleGlyph { Menu, Help, Max, Restore, Min, Close };
const std::vector<std::string>& GlyphFor(TitleGlyph g);
inline constexpr TitleGlyph kTitleOrder[] = {TitleGlyph::Menu, TitleGlyph::Help,
                                             TitleGlyph::Max,  TitleGlyph::Restore,
                                             TitleGlyph::Min,  TitleGlyph::Close};

// ---- widget builders -------------------------------------------------------

// Nine-part images stretch their middle row and column; making the two middle
// rows (and columns) equal keeps the stretched band seamless.
void EvenMiddle(Canvas& slice);

// A mark slice (check box, check-list mark): opaque background bg, the face
// in box, an optional glyph centred in the box.
Canvas BoxMark(int w, int h, const QRect& box, const Face& f, Rgb bg,
               const std::vector<std::string>* glyph, Rgb ink);

// A round mark (radio button): ring, fill, optional dot; keyed outside.
struct RoundLook {
    Rgb ring;
    Ramp fill;
    Rgb innerRing = kWhite;
    bool hasInnerRing = false;
    Ramp dot;
    double dotRadius = 0; // 0: no dot
    Rgb dotShine = kWhite;
    bool hasDotShine = false;
};
Canvas RoundMark(int w, int h, double cx, double cy, double r, const RoundLook& look, Rgb bg);

// The pointer thumb of a horizontal track: tip down, keyed outside.
Canvas Pointer(int w, int h, Rgb border, const Ramp& fill, Rgb highlight, Rgb bg);

// A track groove: one colour per row, the four corner pixels keyed, the ends
// rounded by a blend.
Canvas Groove(int w, const std::vector<Rgb>& rows);

// A face with a centred glyph (arrow buttons): keyed corners or opaque.
Canvas GlyphButton(int w, int h, const Face& f, const std::vector<std::string>& g, Rgb ink,
                   const Paint& bg, bool keyed, int dy = 0);

// Three slices (start cap, middle, end cap) of a horizontal thumb, drawn as
// one face inset by `inset` rows on the opaque background.
Canvas Thumb(int w, int h, const Face& f, int inset, Rgb bg);

// A tab: rounded top, open bottom; unselected tabs close with the border row.
Canvas TabSlice(int w, int h, const Face& f, bool selected, Rgb bg);

// Two chevrons, one above the other, pointing up (7 x 7).
extern const std::vector<std::string> kDoubleChevronUp;

// Rotations used to derive the other orientation of an image.
Canvas RotateCW(const Canvas& c);
Canvas RotateCCW(const Canvas& c);
Canvas FlipV(const Canvas& c);
Canvas FlipH(const Canvas& c);

} // namespace art
