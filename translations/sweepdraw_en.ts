<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutBox</name>
    <message>
        <source>Sweepdraw %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures drawn point by point from sine and cosine sweeps: mountains, flowing water, sunshine and a bridge.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free software under the MIT License.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copyright © 2026 The Sweepdraw developers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Running on Qt %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Sweepdraw</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AnimationEncoder</name>
    <message>
        <source>the animation has no frames</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AnimationFile</name>
    <message>
        <source>the suffix names no format of animation; the suffixes that work are %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Command</name>
    <message>
        <source>Mountains: a sine ridge drawn in 4 colour passes, %L1 points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Water: four ripples, each shorter than the one above, drawn in 5 colour passes, %L1 points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sunshine: a sun and 32 rays growing outward, drawn in 6 colour passes, %L1 points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bridge: a great arch, then 6 small arches drawn in 6 colour passes, %L1 points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear: erases every picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit: ends the program at once, even in the middle of a drawing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Fault</name>
    <message>
        <source>cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is larger than %1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is not valid UTF-8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unexpected character %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unterminated comment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>only #include lines may begin with &apos;#&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>expected a header after #include</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unexpected text after %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exponent has no digits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unsupported suffix %1 on number %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>number %1 would be read as octal; write it without the leading 0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>integer constant %1 is too large for a long</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>only the scene files&apos; headers may be included: &quot;Scenes.h&quot;, &quot;DrawingSurface.h&quot;, &quot;Palette.h&quot;, &quot;RuntimeError.h&quot;, &quot;Sweep.h&quot;, &lt;cmath&gt;, &lt;algorithm&gt; and &lt;numbers&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>#include lines must come before the namespace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is used without #include %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the routine must be in namespace sweepdraw</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>expected %1 before %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>expected the end of the file before %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not declared in this scope</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not declared in this scope; did you mean %2?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not declared in this scope; a variable needs its type: &apos;double %2 = ...&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>redeclaration of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is used in its own initializer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is a macro of the headers, so it cannot name anything else</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is a word of C++ or a name of the drawing core, so it cannot name a value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not among the functions a routine may call: std::sin, cos, tan, asin, acos, atan, atan2, sinh, cosh, tanh, exp, log, log10, log2, pow, sqrt, hypot, fmod, abs, fabs, floor, ceil, round, trunc, min and max</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not an operation of the drawing surface: SetPenWidth, PlotPoint, DrawBox, DrawCircle and ClearSurface are</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the status %1 returns must be checked: &apos;check(surface.%2(...));&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>expected the drawing surface for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the colour of %1 must be given by PaletteColor, not by %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a colour from PaletteColor is not a number; pass it to a surface operation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the drawing surface is not a number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 returns no value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the counter of %1 is %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nested deeper than %1 levels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is const: declare it without const to change it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>only a variable can be assigned to or changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a value where it is declared: &apos;%2 %1 = 0;&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>++ and -- do not apply to a bool</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%&apos; takes ints, not %1; std::fmod takes doubles</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes two values of one type, not %2 and %3; write 1.0, not 1, for a double</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not inside a for, while or do loop of its own body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 returns %2: &apos;return&apos; needs a value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 returns no value: write &apos;return;&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the body of a Sweep or ColourPass returns no value: write &apos;return;&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the value of constexpr %1 is not a constant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the value of %1 must be worked out from numbers and constants alone, before the drawing starts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a value outside the functions must be const or constexpr: &apos;const double r = 5;&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the last function of a routine file draws: &apos;void DrawName(DrawingSurface &amp;surface) { ... }&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds more values than a routine&apos;s function may</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not part of the routine language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>conversion to %1: %2 is outside the range of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 division by zero</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 division overflows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 remainder of a division by zero</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 remainder overflows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 addition overflows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 subtraction overflows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 multiplication overflows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 negation overflows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>std::abs: %1 has no int magnitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>calls nested deeper than %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ends without returning a value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>still running after %1 steps; a run without a window stops there, and --steps allows more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes %2 arguments, not %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes 1 argument, not %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 is not a finite number (got %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 is negative (got %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 is outside 1 to %3 pixels (got %4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: unknown operation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the device refused it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stopped where it was asked to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PaletteColor: colour number %1 is outside 0 to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sweep: start %1, end %2 and step %3 must be finite numbers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sweep: step %1 cannot advance from %2 to %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sweep: step %1 no longer moves the counter at %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ColourPass: colour %1 reaches %2 in steps of %3 only after %4 passes, more than an int counts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ColourPass: colour %1 never reaches %2 in steps of %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>still running after %1 steps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot be read: larger than %1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the end of the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a function or a const value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>int, float, double or bool</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>int, float, double, bool or DrawingSurface &amp;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the drawing surface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a number, a name or &apos;(&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a double</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an int</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>one side of &apos;?:&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileWriter</name>
    <message>
        <source>out of memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>Finish now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save picture…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record animation…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run to the caret</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step back</source>
        <translation></translation>
    </message>
    <message>
        <source>Edit a copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New routine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open routine…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save routine as…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Page</name>
    <message>
        <source>The drawing has ended. You can close this page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown speed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown command: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: error: the link does not hold a routine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy link</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Recording</name>
    <message>
        <source>a drawing command failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RoutineEditor</name>
    <message>
        <source>My mountains</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My water</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My sunshine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My bridge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My routine</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Speed</name>
    <message>
        <source>Slow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Instant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slowest</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WebpEncoder</name>
    <message>
        <source>this libwebp cannot be configured</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this libwebp has no animation encoder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this libwebp cannot take pictures</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sweepdraw::BackgroundRecording</name>
    <message>
        <source>Recording %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record animation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a drawing command failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The animation could not be recorded to %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording %1 to %2…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sweepdraw::CodePane</name>
    <message>
        <source>Code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Routine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>last point %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>paused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finished %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing drawn yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pass %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 operations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 s left</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n waiting</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Nothing was drawn at pixel %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pixel %1 was drawn by %2 line %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>operation %1 of %2</source>
        <translation></translation>
    </message>
    <message>
        <source>Routine shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · routine file, read-only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · scene, read-only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No routine shown yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click a picture&apos;s button: the routine that draws it shows here, live.

Ctrl+E makes a copy of it that is yours to change: every change shows in the picture at once. F5 runs your copy as a command of its own.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This routine is read-only: Ctrl+E makes a copy of it that is yours to change.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No routine of yours is open: Ctrl+E makes a copy of the one shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your routine does not compile: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>operation %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 operations so far</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sweepdraw::Form1</name>
    <message>
        <source>Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blank</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, </source>
        <comment>between the captions of the pictures drawn</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The drawing stopped with an error:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paused · %1 to continue</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sweepdraw::HelpDialog</name>
    <message>
        <source>Sweepdraw Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The buttons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click a button to draw its picture, point by point. The pictures stay, one over another, until 清除 clears them. Clicks made while a picture is being drawn wait their turn.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keys and the menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tab moves from button to button; Space, Return or Enter presses the button with the focus. A right click anywhere outside the buttons opens the menu. Its keys work with the menu closed too.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The command line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>opens the window and draws the sunshine, then the bridge, fast. The speeds are %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>opens no window: draws the mountains and the water, and saves the picture to a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lists every option.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The code pane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+click on the picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>while the drawing is paused or done: the line of the routine that drew that point</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drag a number sideways</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in your routine: changes it, and the picture shows the change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt+Up, Alt+Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in your routine: the number at the caret one more, one less</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Typing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in your routine: the picture shows the change once you stop typing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sweepdraw::LiveChanges</name>
    <message>
        <source>Drawing your change · %1 operations · Shift+Esc stops</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sweepdraw::PaneDock</name>
    <message>
        <source>Divider</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sweepdraw::PictureActions</name>
    <message>
        <source>%1 image (*.%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be saved to %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record animation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 animation (*.%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing has been drawn since the last clear, and nothing is queued: there is nothing to record.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, </source>
        <comment>between the captions of the pictures recorded</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sweepdraw::RoutineEditor</name>
    <message>
        <source>Routine files (*.cpp)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · yours · %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · yours · line %2, column %3: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · yours, editable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open routine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save routine as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1; the last changes to %2 are lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Routine not saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be saved:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save elsewhere…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was changed in another window; yours is kept as %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sweepdraw::RoutineFiles</name>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not UTF-8 text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>too large to be a routine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is passed over: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sweepdraw::RoutineList</name>
    <message>
        <source>Routines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · scene</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · yours</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>sweepdraw::StepMarker</name>
    <message>
        <source>Last point: (%1, %2) twips, pixel (%3, %4)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
