// The editor's widget toolkit: widgets, containers that own their children and
// route the focus, screens that pump SDL events, sliders, the colour picker, the
// text widgets and edit fields, and the immediate-mode drawing primitives.
// Everything is drawn in window pixels with y growing downwards.
#pragma once

#include <cstdint>
#include <vector>

class Font;

// The window size in pixels, set once at start-up.
extern int windowWidth;
extern int windowHeight;

// Click callbacks get the press position and the button (always 1 from Widget::click).
typedef void (*ClickCallback)(int x, int y, int button);
// ScrollKnob change callback: the new value, read as unsigned.
typedef void (*ScrollCallback)(double value);

const uint16_t kQuitKeyEscape = 27; // SDLK_ESCAPE: modal dialogs
const uint16_t kQuitKeyF10 = 291;   // SDLK_F10: the editor's root screens

// ---------------------------------------------------------------------------
// Drawing primitives. Each brackets its GL calls with OGLState::PushColor/PopColor.
// Colours are 0xAARRGGBB.

void drawPoint(int x, int y, uint32_t colour);
void drawHLine(int x, int y, int length, uint32_t colour);
void drawVLine(int x, int y, int length, uint32_t colour);
void fillRect(int x, int y, int w, int h, uint32_t colour);
void drawRect(int x, int y, int w, int h, uint32_t colour);
// Raised outer edge, a ring in `colour`, sunken inner edge.
void drawBevel(int x, int y, int w, int h, uint32_t colour);
// A bevel filled with `colour`.
void drawFrame(int x, int y, int w, int h, uint32_t colour);

// A rectangle in window pixels: columns x .. x + w - 1, rows y .. y + h - 1.
struct PixelRect {
    int x, y, w, h;
};
// fillRect(x, y, w, h, colour) less the pixels inside `holes`, in one primitive.
// Pixels near a hole's edge may still be filled (a hole is taken a pixel in on
// every side, whatever the driver does with pixel centres on an edge), so a
// hole must be painted over afterwards for the picture to be whole.
void fillRectAround(int x, int y, int w, int h, uint32_t colour, const std::vector<PixelRect>& holes);

class Widget;
// One interface pass: window viewport and y-down orthographic projection around root->draw().
void drawInterface(Widget* root);

// ---------------------------------------------------------------------------
// Widgets. Virtual operations keep this order in every class: destroy, draw,
// click, grabFocus, loseFocus, key, then the ones each subclass appends.

class Widget {
  public:
    Widget(int x, int y, int w, int h, ClickCallback primary, ClickCallback secondary);
    virtual ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    virtual void draw();
    // Hit test (edges included); calls the secondary callback, else the primary, with button 1.
    virtual bool click(int px, int py, int button);
    virtual bool grabFocus(int px, int py);
    virtual void loseFocus();
    virtual bool key(int sym, int unicode);

    int x, y, w, h;
    ClickCallback primary;
    ClickCallback secondary;
};

class WidgetGroup : public Widget {
  public:
    static const int kMaxChildren = 500;

    WidgetGroup();
    ~WidgetGroup() override;

    void draw() override;
    bool click(int px, int py, int button) override;
    bool grabFocus(int px, int py) override;
    void loseFocus() override;
    bool key(int sym, int unicode) override;
    // Destroys the children, last added first.
    virtual void clear();

    // Takes ownership; a child beyond the 500th is destroyed at once.
    void add(Widget* child);
    Widget* childAt(int index) const;
    int childCount() const { return count; }
    int focusIndex() const { return focus; }

    bool redrawRequested = false;

  protected:
    int count = 0;
    Widget* children[kMaxChildren];
    int focus = -1;

  private:
    void DestroyChildren();
};

// What every screen's event pump knows about the mouse; shared by all screens.
struct MouseState {
    bool held;
    bool pressedSincePoll;
    int button, x, y; // the last press
    bool leftDown = false; // the left button is down (its release not seen yet)
    int upX = 0, upY = 0;  // where the left button was last released
};
MouseState& SharedMouseState();
// Modifiers (SDL's KMOD_ bits) of the key being dispatched: the event's own, which
// stay right when the keyboard state changed since it was queued.
int KeyEventMods();

// A press that goes on as a drag: the pump hands it the pointer's moves and
// the left button's release, then destroys it.
class PointerDrag {
  public:
    virtual ~PointerDrag();
    virtual void move(int x, int y) = 0;
    virtual void release(int x, int y) = 0;
};
// Hands the rest of the current left press to `drag` (owned from now on). When
// the release already came in this poll, the drag ends at once where it came.
void BeginPointerDrag(PointerDrag* drag);
bool PointerDragActive();
// Ends a drag without its release (the screen it works on is going away).
void CancelPointerDrag();

class GuiScreen : public WidgetGroup {
  public:
    explicit GuiScreen(uint16_t quitKey);
    // Drains the SDL queue and dispatches it; true when the program or dialog should end.
    virtual bool pollEvents();
    // A key no widget took, before it is compared with the quit key: true when handled.
    virtual bool shortcut(int sym, int unicode);
    // A wheel notch at (x, y), +1 up, -1 down: true when taken, else it reaches
    // the widgets as a press of button 4 or 5.
    virtual bool wheel(int x, int y, int direction);

    uint16_t quitKey;
};

// Adds the rectangles that a widget drawn later in the same pass takes over
// from a panel of `colour`: it paints every pixel there, in the panel's colour
// where it shows the panel.
typedef void (*TakeOverFunction)(uint32_t colour, std::vector<PixelRect>& taken);

class FramePanel : public WidgetGroup {
  public:
    FramePanel(int x, int y, int w, int h, uint32_t colour);
    void draw() override;
    virtual void setColour(uint32_t colour);
    // The fill leaves out what `takeOver` names: a software rasteriser pays for
    // every pixel, and those would be painted twice.
    void setTakenOverBy(TakeOverFunction takeOver);

    uint32_t colour;

  private:
    TakeOverFunction takenOverBy = nullptr;
    std::vector<PixelRect> taken; // kept between frames for its memory
};

// A slider over [minimum, maximum] bound to an int; a press sets the value at once.
class ScrollKnob : public Widget {
  public:
    ScrollKnob(int x, int y, unsigned trackLength, int minimum, int maximum, int* value, bool horizontal,
               ScrollCallback callback);
    void draw() override;
    bool click(int px, int py, int button) override;
    // Knob offset along the track for the bound value, 0..trackLength (0 without a range).
    unsigned KnobOffset() const;

    int minimum, maximum;
    int* value;
    unsigned trackLength; // pixels
    bool horizontal;
    ScrollCallback callback;
};

// Three bars that set red, green and blue (0..255) through their pointers.
class ColourPicker : public Widget {
  public:
    static const int kBarLength = 256; // pixels: one per channel value
    ColourPicker(int x, int y, int* red, int* green, int* blue);
    void draw() override;
    bool click(int px, int py, int button) override;
    // A window too narrow for the whole picker gets shorter bars (at least 16
    // pixels), which spread the 256 values over fewer pixels.
    void SetBarLength(int pixels);
    // Width drawn: the bars, their ends and the swatch (294 at full length).
    int DrawnWidth() const { return barLength + 38; }

    int* red;
    int* green;
    int* blue;
    int barLength = kBarLength;
};

// ---------------------------------------------------------------------------
// Text widgets. Each holds a shared font from the FontCache ("FreeSerif.ttf" at
// 14 pixels); font failures propagate out of the constructors as BasicException.

// Notify fields hand their result to the application: the callbacks forward it
// to the EditorApp current at the time (for example a lambda calling App()->...).
typedef void (*TextNotifyCallback)(const char* text);
typedef void (*IntNotifyCallback)(int value);

class TextWidget : public Widget {
  public:
    static const int kDefaultPixelSize = 14;
    static constexpr const char* kDefaultFontFile = "FreeSerif.ttf";

    TextWidget(int x, int y, int w, int h, uint32_t colour, ClickCallback primary, ClickCallback secondary);
    ~TextWidget() override;

    virtual void setColour(uint32_t colour);
    // Acquires the new font before giving back the old one.
    virtual void setFont(const char* fileName, int pixelSize);
    virtual void setFontFile(const char* fileName);
    virtual void setFontSize(int pixelSize);
    int pixelSize() const;

    uint32_t colour;
    Font* font;
};

class Label : public TextWidget {
  public:
    // copy: own a copy of `text`, else show the caller's text as it changes.
    Label(int x, int y, const char* text, bool copy, uint32_t colour);
    Label(int x, int y, const char* text, uint32_t colour);
    ~Label() override;
    void draw() override;

    char* text; // may be null
    bool ownsText;
};

class Button : public TextWidget {
  public:
    static const int kLabelSize = 256; // bytes, NUL included

    // h 0 means the font's pixel size + 8.
    Button(int x, int y, int w, int h, uint32_t frameColour, const char* label, uint32_t textColour,
           ClickCallback primary, ClickCallback secondary);
    void draw() override;

    uint32_t frameColour;
    char label[kLabelSize];
};

class NumberLabel : public TextWidget {
  public:
    NumberLabel(int x, int y, uint32_t colour, const int* source, int storedValue);
    void draw() override;
    int Value() const { return source ? *source : storedValue; }

    const int* source; // may be null: then storedValue is shown
    int storedValue;
};

// A growable byte string; the NUL is written only when a C string is asked for.
class TextBuffer {
  public:
    explicit TextBuffer(const char* text);
    // Empty, with room for n characters and the NUL.
    explicit TextBuffer(unsigned n);
    TextBuffer(const TextBuffer& other);
    TextBuffer& operator=(const TextBuffer& other);
    ~TextBuffer();

    TextBuffer substring(unsigned start, unsigned count) const;
    void insert(unsigned index, char c);
    void overwrite(unsigned index, char c);
    void erase(unsigned index, unsigned count);
    const char* c_str();

    char* data;
    unsigned capacity; // bytes allocated
    unsigned length;
};

// A one-line edit field with caret, horizontal scrolling, insert and overwrite
// modes; Return or a press elsewhere commits, Escape cancels.
class TextField : public TextWidget {
  public:
    TextField(int x, int y, int w, const char* text, uint32_t colour);
    ~TextField() override;
    void draw() override;
    bool grabFocus(int px, int py) override;
    void loseFocus() override;
    bool key(int sym, int unicode) override;
    // Called when an edit ends with a report, and by setText.
    virtual void textChanged();

    // Replaces the text and ends any edit without reporting it.
    void setText(const char* text);
    const char* GetText() { return text.c_str(); }
    // The field being edited now, if any: while there is one, keys are typing.
    static TextField* Editing();

    TextBuffer text;
    TextBuffer saved; // the text as it was when the edit began
    bool editPending = false;
    unsigned caret = 0;
    unsigned scroll = 0; // first visible character
    bool editing = false;
    bool overwriteMode = false;

  protected:
    int VisibleCapacity();
    void ScrollToCaret();
};

class TextNotifyField : public TextField {
  public:
    TextNotifyField(int x, int y, int w, const char* text, TextNotifyCallback callback, uint32_t colour);
    void textChanged() override;

    TextNotifyCallback callback;
};

// Edit fields bound to an integer: only digits and editing keys reach the text;
// the variable changes when the edit ends with a number that fits it.
class IntField : public TextField {
  public:
    IntField(int x, int y, int w, int* value, uint32_t colour);
    void loseFocus() override;
    bool key(int sym, int unicode) override;
    void ShowValue();

    int* value;
};

class UIntField : public TextField {
  public:
    UIntField(int x, int y, int w, unsigned* value, uint32_t colour);
    void loseFocus() override;
    bool key(int sym, int unicode) override;
    void ShowValue();

    unsigned* value;
};

class UIntNotifyField : public UIntField {
  public:
    // Reports `initialValue` to the callback once while it is constructed.
    UIntNotifyField(int x, int y, int w, unsigned initialValue, IntNotifyCallback callback, uint32_t colour);
    void textChanged() override;

    IntNotifyCallback callback;
    unsigned ownValue;
};

// ---------------------------------------------------------------------------
// Timeline widgets (they read the open demo and the editor's state).

// The time slider: a ScrollKnob with a cursor line down across the track rows.
class TimeCursor : public Widget {
  public:
    TimeCursor(int x, int y, unsigned trackLength, int minimum, int maximum, int* value,
               ScrollCallback callback);
    void draw() override;
    bool click(int px, int py, int button) override;

    ScrollKnob knob;
    int minimum, maximum;
    unsigned trackLength;
    int* value;
    // The editor's slider: drawn and pressed through the timeline's view (zoom,
    // scrolling, rows shown), and a press drags on to scrub.
    bool followsView = false;
};

// Also part of this folder's interface: widgets of the timeline.
#include "timeline.h"
