<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutBox</name>
    <message>
        <source>Sweepdraw %1</source>
        <translation>图形程序设计 %1</translation>
    </message>
    <message>
        <source>Pictures drawn point by point from sine and cosine sweeps: mountains, flowing water, sunshine and a bridge.</source>
        <translation>用正弦和余弦扫描逐点画出的图画：高山、流水、阳光和大桥。</translation>
    </message>
    <message>
        <source>Free software under the MIT License.</source>
        <translation>自由软件，以 MIT 许可证发布。</translation>
    </message>
    <message>
        <source>Copyright © 2026 The Sweepdraw developers</source>
        <translation>版权所有 © 2026 Sweepdraw 开发者</translation>
    </message>
    <message>
        <source>Running on Qt %1.</source>
        <translation>运行于 Qt %1。</translation>
    </message>
    <message>
        <source>About Sweepdraw</source>
        <translation>关于图形程序设计</translation>
    </message>
</context>
<context>
    <name>AnimationEncoder</name>
    <message>
        <source>the animation has no frames</source>
        <translation>动画没有任何帧</translation>
    </message>
</context>
<context>
    <name>AnimationFile</name>
    <message>
        <source>the suffix names no format of animation; the suffixes that work are %1</source>
        <translation>后缀不是任何动画格式；可用的后缀有 %1</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>文件没有打开</translation>
    </message>
</context>
<context>
    <name>Command</name>
    <message>
        <source>Mountains: a sine ridge drawn in 4 colour passes, %L1 points</source>
        <translation>高山：一道正弦山脊，分 4 遍上色，共 %L1 个点</translation>
    </message>
    <message>
        <source>Water: four ripples, each shorter than the one above, drawn in 5 colour passes, %L1 points</source>
        <translation>流水：四道水波，一道比一道短，分 5 遍上色，共 %L1 个点</translation>
    </message>
    <message>
        <source>Sunshine: a sun and 32 rays growing outward, drawn in 6 colour passes, %L1 points</source>
        <translation>阳光：一轮太阳和 32 道向外伸展的光芒，分 6 遍上色，共 %L1 个点</translation>
    </message>
    <message>
        <source>Bridge: a great arch, then 6 small arches drawn in 6 colour passes, %L1 points</source>
        <translation>大桥：先画一道大拱，再分 6 遍上色画 6 个小拱，共 %L1 个点</translation>
    </message>
    <message>
        <source>Clear: erases every picture</source>
        <translation>清除：擦去所有的图画</translation>
    </message>
    <message>
        <source>Exit: ends the program at once, even in the middle of a drawing</source>
        <translation>退出：立即结束程序，即使正在画图</translation>
    </message>
</context>
<context>
    <name>Fault</name>
    <message>
        <source>cannot be read: %1</source>
        <translation>无法读取：%1</translation>
    </message>
    <message>
        <source>the file is larger than %1 bytes</source>
        <translation>文件大于 %1 字节</translation>
    </message>
    <message>
        <source>the file is not valid UTF-8</source>
        <translation>文件不是有效的 UTF-8</translation>
    </message>
    <message>
        <source>unexpected character %1</source>
        <translation>意外的字符 %1</translation>
    </message>
    <message>
        <source>unterminated comment</source>
        <translation>注释没有结束</translation>
    </message>
    <message>
        <source>only #include lines may begin with &apos;#&apos;</source>
        <translation>只有 #include 行可以以“#”开头</translation>
    </message>
    <message>
        <source>expected a header after #include</source>
        <translation>#include 之后应有头文件</translation>
    </message>
    <message>
        <source>unexpected text after %1</source>
        <translation>%1 之后有多余的文字</translation>
    </message>
    <message>
        <source>exponent has no digits</source>
        <translation>指数没有数字</translation>
    </message>
    <message>
        <source>unsupported suffix %1 on number %2</source>
        <translation>数 %2 的后缀 %1 不受支持</translation>
    </message>
    <message>
        <source>number %1 would be read as octal; write it without the leading 0</source>
        <translation>数 %1 会被读作八进制；请去掉开头的 0</translation>
    </message>
    <message>
        <source>integer constant %1 is too large for a long</source>
        <translation>整数常量 %1 超出 long 的范围</translation>
    </message>
    <message>
        <source>only the scene files&apos; headers may be included: &quot;Scenes.h&quot;, &quot;DrawingSurface.h&quot;, &quot;Palette.h&quot;, &quot;RuntimeError.h&quot;, &quot;Sweep.h&quot;, &lt;cmath&gt;, &lt;algorithm&gt; and &lt;numbers&gt;</source>
        <translation>只能包含场景文件所用的头文件：&quot;Scenes.h&quot;、&quot;DrawingSurface.h&quot;、&quot;Palette.h&quot;、&quot;RuntimeError.h&quot;、&quot;Sweep.h&quot;、&lt;cmath&gt;、&lt;algorithm&gt; 和 &lt;numbers&gt;</translation>
    </message>
    <message>
        <source>#include lines must come before the namespace</source>
        <translation>#include 行必须写在命名空间之前</translation>
    </message>
    <message>
        <source>%1 is used without #include %2</source>
        <translation>使用了 %1，却没有 #include %2</translation>
    </message>
    <message>
        <source>the routine must be in namespace sweepdraw</source>
        <translation>例程必须写在命名空间 sweepdraw 里</translation>
    </message>
    <message>
        <source>expected %1 before %2</source>
        <translation>%2 之前应有 %1</translation>
    </message>
    <message>
        <source>expected the end of the file before %1</source>
        <translation>%1 之前文件应已结束</translation>
    </message>
    <message>
        <source>%1 was not declared in this scope</source>
        <translation>%1 在此作用域中尚未声明</translation>
    </message>
    <message>
        <source>%1 was not declared in this scope; did you mean %2?</source>
        <translation>%1 在此作用域中尚未声明；是不是想写 %2？</translation>
    </message>
    <message>
        <source>%1 was not declared in this scope; a variable needs its type: &apos;double %2 = ...&apos;</source>
        <translation>%1 在此作用域中尚未声明；变量需要写出类型：&apos;double %2 = ...&apos;</translation>
    </message>
    <message>
        <source>redeclaration of %1</source>
        <translation>%1 重复声明</translation>
    </message>
    <message>
        <source>%1 is used in its own initializer</source>
        <translation>%1 在自己的初始值中被使用</translation>
    </message>
    <message>
        <source>%1 is a macro of the headers, so it cannot name anything else</source>
        <translation>%1 是头文件中的宏，不能再用作别的名字</translation>
    </message>
    <message>
        <source>%1 is a word of C++ or a name of the drawing core, so it cannot name a value</source>
        <translation>%1 是 C++ 的关键字或绘图核心的名字，不能用作值的名字</translation>
    </message>
    <message>
        <source>%1 is not among the functions a routine may call: std::sin, cos, tan, asin, acos, atan, atan2, sinh, cosh, tanh, exp, log, log10, log2, pow, sqrt, hypot, fmod, abs, fabs, floor, ceil, round, trunc, min and max</source>
        <translation>%1 不是例程可以调用的函数；可以调用的有：std::sin、cos、tan、asin、acos、atan、atan2、sinh、cosh、tanh、exp、log、log10、log2、pow、sqrt、hypot、fmod、abs、fabs、floor、ceil、round、trunc、min 和 max</translation>
    </message>
    <message>
        <source>%1 is not an operation of the drawing surface: SetPenWidth, PlotPoint, DrawBox, DrawCircle and ClearSurface are</source>
        <translation>%1 不是绘图表面的操作；表面的操作有 SetPenWidth、PlotPoint、DrawBox、DrawCircle 和 ClearSurface</translation>
    </message>
    <message>
        <source>the status %1 returns must be checked: &apos;check(surface.%2(...));&apos;</source>
        <translation>%1 返回的状态必须检查：&apos;check(surface.%2(...));&apos;</translation>
    </message>
    <message>
        <source>expected the drawing surface for %1</source>
        <translation>%1 应接受绘图表面</translation>
    </message>
    <message>
        <source>the colour of %1 must be given by PaletteColor, not by %2</source>
        <translation>%1 的颜色必须由 PaletteColor 给出，而不是 %2</translation>
    </message>
    <message>
        <source>a colour from PaletteColor is not a number; pass it to a surface operation</source>
        <translation>PaletteColor 给出的颜色不是数；请把它传给表面的操作</translation>
    </message>
    <message>
        <source>the drawing surface is not a number</source>
        <translation>绘图表面不是数</translation>
    </message>
    <message>
        <source>%1 returns no value</source>
        <translation>%1 不返回值</translation>
    </message>
    <message>
        <source>the counter of %1 is %2</source>
        <translation>%1 的计数器是 %2</translation>
    </message>
    <message>
        <source>nested deeper than %1 levels</source>
        <translation>嵌套超过 %1 层</translation>
    </message>
    <message>
        <source>%1 is const: declare it without const to change it</source>
        <translation>%1 是 const：要改变它，声明时请去掉 const</translation>
    </message>
    <message>
        <source>only a variable can be assigned to or changed</source>
        <translation>只有变量可以赋值或改变</translation>
    </message>
    <message>
        <source>%1 needs a value where it is declared: &apos;%2 %1 = 0;&apos;</source>
        <translation>%1 在声明处需要一个值：&apos;%2 %1 = 0;&apos;</translation>
    </message>
    <message>
        <source>++ and -- do not apply to a bool</source>
        <translation>++ 和 -- 不能用于 bool</translation>
    </message>
    <message>
        <source>&apos;%&apos; takes ints, not %1; std::fmod takes doubles</source>
        <translation>&apos;%&apos; 只接受 int，而不是 %1；double 请用 std::fmod</translation>
    </message>
    <message>
        <source>%1 takes two values of one type, not %2 and %3; write 1.0, not 1, for a double</source>
        <translation>%1 接受两个同类型的值，而不是 %2 和 %3；double 请写 1.0，而不是 1</translation>
    </message>
    <message>
        <source>%1 is not inside a for, while or do loop of its own body</source>
        <translation>%1 不在所在函数体内的 for、while 或 do 循环中</translation>
    </message>
    <message>
        <source>%1 returns %2: &apos;return&apos; needs a value</source>
        <translation>%1 返回 %2：&apos;return&apos; 需要一个值</translation>
    </message>
    <message>
        <source>%1 returns no value: write &apos;return;&apos;</source>
        <translation>%1 不返回值：请写 &apos;return;&apos;</translation>
    </message>
    <message>
        <source>the body of a Sweep or ColourPass returns no value: write &apos;return;&apos;</source>
        <translation>Sweep 或 ColourPass 的循环体不返回值：请写 &apos;return;&apos;</translation>
    </message>
    <message>
        <source>the value of constexpr %1 is not a constant</source>
        <translation>constexpr %1 的值不是常量</translation>
    </message>
    <message>
        <source>the value of %1 must be worked out from numbers and constants alone, before the drawing starts</source>
        <translation>%1 的值必须只由数和常量算出，在绘图开始之前</translation>
    </message>
    <message>
        <source>a value outside the functions must be const or constexpr: &apos;const double r = 5;&apos;</source>
        <translation>函数之外的值必须是 const 或 constexpr：&apos;const double r = 5;&apos;</translation>
    </message>
    <message>
        <source>the last function of a routine file draws: &apos;void DrawName(DrawingSurface &amp;surface) { ... }&apos;</source>
        <translation>例程文件的最后一个函数负责绘图：&apos;void DrawName(DrawingSurface &amp;surface) { ... }&apos;</translation>
    </message>
    <message>
        <source>%1 holds more values than a routine&apos;s function may</source>
        <translation>%1 容纳的值超过了例程函数的上限</translation>
    </message>
    <message>
        <source>%1 is not part of the routine language</source>
        <translation>%1 不属于例程语言</translation>
    </message>
    <message>
        <source>conversion to %1: %2 is outside the range of %1</source>
        <translation>转换为 %1：%2 超出 %1 的范围</translation>
    </message>
    <message>
        <source>%1 division by zero</source>
        <translation>%1 除以零</translation>
    </message>
    <message>
        <source>%1 division overflows</source>
        <translation>%1 除法溢出</translation>
    </message>
    <message>
        <source>%1 remainder of a division by zero</source>
        <translation>%1 对零求余</translation>
    </message>
    <message>
        <source>%1 remainder overflows</source>
        <translation>%1 求余溢出</translation>
    </message>
    <message>
        <source>%1 addition overflows</source>
        <translation>%1 加法溢出</translation>
    </message>
    <message>
        <source>%1 subtraction overflows</source>
        <translation>%1 减法溢出</translation>
    </message>
    <message>
        <source>%1 multiplication overflows</source>
        <translation>%1 乘法溢出</translation>
    </message>
    <message>
        <source>%1 negation overflows</source>
        <translation>%1 取负溢出</translation>
    </message>
    <message>
        <source>std::abs: %1 has no int magnitude</source>
        <translation>std::abs：%1 的绝对值超出 int 的范围</translation>
    </message>
    <message>
        <source>calls nested deeper than %1</source>
        <translation>调用嵌套超过 %1 层</translation>
    </message>
    <message>
        <source>%1 ends without returning a value</source>
        <translation>%1 没有返回值就结束了</translation>
    </message>
    <message>
        <source>still running after %1 steps; a run without a window stops there, and --steps allows more</source>
        <translation>已运行 %1 步仍未结束；没有窗口的运行到此停止，--steps 可以允许更多步</translation>
    </message>
    <message>
        <source>%1 takes %2 arguments, not %3</source>
        <translation>%1 接受 %2 个参数，而不是 %3 个</translation>
    </message>
    <message>
        <source>%1 takes 1 argument, not %3</source>
        <translation>%1 接受 1 个参数，而不是 %3 个</translation>
    </message>
    <message>
        <source>%1: %2 is not a finite number (got %3)</source>
        <translation>%1：%2 不是有限的数（得到 %3）</translation>
    </message>
    <message>
        <source>%1: %2 is negative (got %3)</source>
        <translation>%1：%2 是负数（得到 %3）</translation>
    </message>
    <message>
        <source>%1: %2 is outside 1 to %3 pixels (got %4)</source>
        <translation>%1：%2 不在 1 到 %3 像素之间（得到 %4）</translation>
    </message>
    <message>
        <source>%1: unknown operation</source>
        <translation>%1：未知的操作</translation>
    </message>
    <message>
        <source>%1: the device refused it</source>
        <translation>%1：设备拒绝了它</translation>
    </message>
    <message>
        <source>stopped where it was asked to</source>
        <translation>已按要求在此停止</translation>
    </message>
    <message>
        <source>PaletteColor: colour number %1 is outside 0 to %2</source>
        <translation>PaletteColor：颜色编号 %1 不在 0 到 %2 之间</translation>
    </message>
    <message>
        <source>Sweep: start %1, end %2 and step %3 must be finite numbers</source>
        <translation>Sweep：起点 %1、终点 %2 和步长 %3 必须是有限的数</translation>
    </message>
    <message>
        <source>Sweep: step %1 cannot advance from %2 to %3</source>
        <translation>Sweep：步长 %1 无法从 %2 前进到 %3</translation>
    </message>
    <message>
        <source>Sweep: step %1 no longer moves the counter at %2</source>
        <translation>Sweep：步长 %1 在 %2 处已不能使计数器改变</translation>
    </message>
    <message>
        <source>ColourPass: colour %1 reaches %2 in steps of %3 only after %4 passes, more than an int counts</source>
        <translation>ColourPass：颜色 %1 以 %3 为步长要经过 %4 遍才到达 %2，超出 int 所能计数的范围</translation>
    </message>
    <message>
        <source>ColourPass: colour %1 never reaches %2 in steps of %3</source>
        <translation>ColourPass：颜色 %1 以 %3 为步长永远到不了 %2</translation>
    </message>
    <message>
        <source>still running after %1 steps</source>
        <translation>运行 %1 步后仍未结束</translation>
    </message>
    <message>
        <source>cannot be read: larger than %1 bytes</source>
        <translation>无法读取：大于 %1 字节</translation>
    </message>
    <message>
        <source>the end of the file</source>
        <translation>文件末尾</translation>
    </message>
    <message>
        <source>a function or a const value</source>
        <translation>函数或 const 值</translation>
    </message>
    <message>
        <source>int, float, double or bool</source>
        <translation>int、float、double 或 bool</translation>
    </message>
    <message>
        <source>int, float, double, bool or DrawingSurface &amp;</source>
        <translation>int、float、double、bool 或 DrawingSurface &amp;</translation>
    </message>
    <message>
        <source>the drawing surface</source>
        <translation>绘图表面</translation>
    </message>
    <message>
        <source>a name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>a number, a name or &apos;(&apos;</source>
        <translation>数字、名称或 &apos;(&apos;</translation>
    </message>
    <message>
        <source>a double</source>
        <translation>double 类型</translation>
    </message>
    <message>
        <source>an int</source>
        <translation>int 类型</translation>
    </message>
    <message>
        <source>one side of &apos;?:&apos;</source>
        <translation>&apos;?:&apos; 的一侧</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
</context>
<context>
    <name>FileWriter</name>
    <message>
        <source>out of memory</source>
        <translation>内存不足</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>它不是普通文件</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>文件没有打开</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>Finish now</source>
        <translation>立即画完</translation>
    </message>
    <message>
        <source>Save picture…</source>
        <translation>保存图片…</translation>
    </message>
    <message>
        <source>Copy picture</source>
        <translation>复制图片</translation>
    </message>
    <message>
        <source>Record animation…</source>
        <translation>录制动画…</translation>
    </message>
    <message>
        <source>Show code</source>
        <translation>显示代码</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>单步</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Run to the caret</source>
        <translation>运行到光标处</translation>
    </message>
    <message>
        <source>Step back</source>
        <translation>后退一步</translation>
    </message>
    <message>
        <source>Edit a copy</source>
        <translation>编辑副本</translation>
    </message>
    <message>
        <source>New routine</source>
        <translation>新建例程</translation>
    </message>
    <message>
        <source>Open routine…</source>
        <translation>打开例程…</translation>
    </message>
    <message>
        <source>Save routine as…</source>
        <translation>另存例程…</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
</context>
<context>
    <name>Page</name>
    <message>
        <source>The drawing has ended. You can close this page.</source>
        <translation>画图已结束。可以关闭此页面了。</translation>
    </message>
    <message>
        <source>Unknown speed: %1</source>
        <translation>未知的速度：%1</translation>
    </message>
    <message>
        <source>Unknown command: %1</source>
        <translation>未知的命令：%1</translation>
    </message>
    <message>
        <source>%1: error: the link does not hold a routine</source>
        <translation>%1: 错误：此链接不含例程</translation>
    </message>
    <message>
        <source>Copy link</source>
        <translation>复制链接</translation>
    </message>
</context>
<context>
    <name>Recording</name>
    <message>
        <source>a drawing command failed</source>
        <translation>画图命令出错</translation>
    </message>
</context>
<context>
    <name>RoutineEditor</name>
    <message>
        <source>My mountains</source>
        <translation>我的高山</translation>
    </message>
    <message>
        <source>My water</source>
        <translation>我的流水</translation>
    </message>
    <message>
        <source>My sunshine</source>
        <translation>我的阳光</translation>
    </message>
    <message>
        <source>My bridge</source>
        <translation>我的大桥</translation>
    </message>
    <message>
        <source>My routine</source>
        <translation>我的例程</translation>
    </message>
</context>
<context>
    <name>Speed</name>
    <message>
        <source>Slow</source>
        <translation>慢</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>快</translation>
    </message>
    <message>
        <source>Instant</source>
        <translation>立即</translation>
    </message>
    <message>
        <source>Slowest</source>
        <translation>最慢</translation>
    </message>
</context>
<context>
    <name>WebpEncoder</name>
    <message>
        <source>this libwebp cannot be configured</source>
        <translation>这个 libwebp 无法配置</translation>
    </message>
    <message>
        <source>this libwebp has no animation encoder</source>
        <translation>这个 libwebp 没有动画编码器</translation>
    </message>
    <message>
        <source>this libwebp cannot take pictures</source>
        <translation>这个 libwebp 无法接收图片</translation>
    </message>
</context>
<context>
    <name>sweepdraw::BackgroundRecording</name>
    <message>
        <source>Recording %1…</source>
        <translation>正在录制 %1…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Record animation</source>
        <translation>录制动画</translation>
    </message>
    <message>
        <source>a drawing command failed</source>
        <translation>画图命令出错</translation>
    </message>
    <message>
        <source>The animation could not be recorded to %1: %2.</source>
        <translation>无法把动画录制到 %1：%2。</translation>
    </message>
    <message>
        <source>Recording %1 to %2…</source>
        <translation>正在把 %1 录制到 %2…</translation>
    </message>
</context>
<context>
    <name>sweepdraw::CodePane</name>
    <message>
        <source>Code</source>
        <translation>代码</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Routine</source>
        <translation>程序</translation>
    </message>
    <message>
        <source>last point %1</source>
        <translation>最后一点 %1</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>已暂停</translation>
    </message>
    <message>
        <source>Finished %1</source>
        <translation>%1 已画完</translation>
    </message>
    <message>
        <source>Nothing drawn yet</source>
        <translation>尚未画图</translation>
    </message>
    <message>
        <source>pass %1 of %2</source>
        <translation>第 %1 遍，共 %2 遍</translation>
    </message>
    <message>
        <source>%1 of %2 operations</source>
        <translation>%1 / %2 次操作</translation>
    </message>
    <message>
        <source>%1 s left</source>
        <translation>还剩 %1 秒</translation>
    </message>
    <message numerus="yes">
        <source>%n waiting</source>
        <translation>
            <numerusform>%n 个等待</numerusform>
        </translation>
    </message>
    <message>
        <source>Nothing was drawn at pixel %1</source>
        <translation>像素 %1 处什么也没画</translation>
    </message>
    <message>
        <source>Pixel %1 was drawn by %2 line %3</source>
        <translation>像素 %1 由 %2 第 %3 行画出</translation>
    </message>
    <message>
        <source>operation %1 of %2</source>
        <translation>第 %1 个操作，共 %2 个</translation>
    </message>
    <message>
        <source>Routine shown</source>
        <translation>所示例程</translation>
    </message>
    <message>
        <source>%1 · routine file, read-only</source>
        <translation>%1 · 例程文件，只读</translation>
    </message>
    <message>
        <source>%1 · scene, read-only</source>
        <translation>%1 · 场景，只读</translation>
    </message>
    <message>
        <source>No routine shown yet</source>
        <translation>尚未显示例程</translation>
    </message>
    <message>
        <source>Click a picture&apos;s button: the routine that draws it shows here, live.

Ctrl+E makes a copy of it that is yours to change: every change shows in the picture at once. F5 runs your copy as a command of its own.</source>
        <translation>点击一个画图按钮：画它的程序会在这里实时显示。

Ctrl+E 复制一份归你修改：每处修改都会立即显示在图画中。F5 把你的副本作为一个命令运行。</translation>
    </message>
    <message>
        <source>This routine is read-only: Ctrl+E makes a copy of it that is yours to change.</source>
        <translation>这个程序是只读的：Ctrl+E 复制一份归你修改。</translation>
    </message>
    <message>
        <source>No routine of yours is open: Ctrl+E makes a copy of the one shown.</source>
        <translation>没有打开你的程序：Ctrl+E 复制显示的那个。</translation>
    </message>
    <message>
        <source>Your routine does not compile: %1</source>
        <translation>你的程序无法编译：%1</translation>
    </message>
    <message>
        <source>operation %1</source>
        <translation>第 %1 个操作</translation>
    </message>
    <message>
        <source>%1 operations so far</source>
        <translation>到目前为止 %1 个操作</translation>
    </message>
</context>
<context>
    <name>sweepdraw::Form1</name>
    <message>
        <source>Picture</source>
        <translation>画面</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Blank</source>
        <translation>空白</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between the captions of the pictures drawn</comment>
        <translation>、</translation>
    </message>
    <message>
        <source>The drawing stopped with an error:
%1</source>
        <translation>画图出错，已停止：
%1</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>Paused · %1 to continue</source>
        <translation>已暂停 · %1 继续</translation>
    </message>
</context>
<context>
    <name>sweepdraw::HelpDialog</name>
    <message>
        <source>Sweepdraw Help</source>
        <translation>图形程序设计帮助</translation>
    </message>
    <message>
        <source>The buttons</source>
        <translation>按钮</translation>
    </message>
    <message>
        <source>Click a button to draw its picture, point by point. The pictures stay, one over another, until 清除 clears them. Clicks made while a picture is being drawn wait their turn.</source>
        <translation>单击按钮，逐点画出它的图画。图画一幅叠一幅地留着，直到“清除”擦去它们。画图时的单击会排队，依次执行。</translation>
    </message>
    <message>
        <source>Keys and the menu</source>
        <translation>按键和菜单</translation>
    </message>
    <message>
        <source>Tab moves from button to button; Space, Return or Enter presses the button with the focus. A right click anywhere outside the buttons opens the menu. Its keys work with the menu closed too.</source>
        <translation>Tab 键在按钮之间移动；空格键、回车键或 Enter 键按下有焦点的按钮。在按钮以外的任何地方单击右键，打开菜单。菜单关着时，它的按键同样有效。</translation>
    </message>
    <message>
        <source>The command line</source>
        <translation>命令行</translation>
    </message>
    <message>
        <source>opens the window and draws the sunshine, then the bridge, fast. The speeds are %1.</source>
        <translation>打开窗口，快速画出阳光，再画大桥。速度有 %1。</translation>
    </message>
    <message>
        <source>opens no window: draws the mountains and the water, and saves the picture to a file.</source>
        <translation>不打开窗口：画出高山和流水，把图画存入文件。</translation>
    </message>
    <message>
        <source>lists every option.</source>
        <translation>列出所有选项。</translation>
    </message>
    <message>
        <source>The code pane</source>
        <translation>代码窗格</translation>
    </message>
    <message>
        <source>Ctrl+click on the picture</source>
        <translation>在图画上 Ctrl+单击</translation>
    </message>
    <message>
        <source>while the drawing is paused or done: the line of the routine that drew that point</source>
        <translation>绘图暂停或完成时：画出那个点的程序行</translation>
    </message>
    <message>
        <source>Drag a number sideways</source>
        <translation>横向拖动一个数字</translation>
    </message>
    <message>
        <source>in your routine: changes it, and the picture shows the change</source>
        <translation>在你的程序中：修改它，图画随之显示修改</translation>
    </message>
    <message>
        <source>Alt+Up, Alt+Down</source>
        <translation>Alt+上，Alt+下</translation>
    </message>
    <message>
        <source>in your routine: the number at the caret one more, one less</source>
        <translation>在你的程序中：光标处的数字加一、减一</translation>
    </message>
    <message>
        <source>Typing</source>
        <translation>输入</translation>
    </message>
    <message>
        <source>in your routine: the picture shows the change once you stop typing</source>
        <translation>在你的程序中：停止输入后图画即显示修改</translation>
    </message>
</context>
<context>
    <name>sweepdraw::LiveChanges</name>
    <message>
        <source>Drawing your change · %1 operations · Shift+Esc stops</source>
        <translation>正在绘制你的修改 · %1 个操作 · Shift+Esc 停止</translation>
    </message>
</context>
<context>
    <name>sweepdraw::PaneDock</name>
    <message>
        <source>Divider</source>
        <translation>分隔条</translation>
    </message>
</context>
<context>
    <name>sweepdraw::PictureActions</name>
    <message>
        <source>%1 image (*.%2)</source>
        <translation>%1 图片 (*.%2)</translation>
    </message>
    <message>
        <source>Save picture</source>
        <translation>保存图片</translation>
    </message>
    <message>
        <source>The picture could not be saved to %1: %2.</source>
        <translation>无法把图片保存到 %1：%2。</translation>
    </message>
    <message>
        <source>Record animation</source>
        <translation>录制动画</translation>
    </message>
    <message>
        <source>%1 animation (*.%2)</source>
        <translation>%1 动画 (*.%2)</translation>
    </message>
    <message>
        <source>Nothing has been drawn since the last clear, and nothing is queued: there is nothing to record.</source>
        <translation>自上次清除以来没有画任何东西，也没有排队的命令：没有可录制的内容。</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between the captions of the pictures recorded</comment>
        <translation>、</translation>
    </message>
</context>
<context>
    <name>sweepdraw::RoutineEditor</name>
    <message>
        <source>Routine files (*.cpp)</source>
        <translation>例程文件 (*.cpp)</translation>
    </message>
    <message>
        <source>%1 · yours · %2</source>
        <translation>%1 · 你的 · %2</translation>
    </message>
    <message>
        <source>%1 · yours · line %2, column %3: %4</source>
        <translation>%1 · 你的 · 第 %2 行第 %3 列：%4</translation>
    </message>
    <message>
        <source>%1 · yours, editable</source>
        <translation>%1 · 你的，可编辑</translation>
    </message>
    <message>
        <source>Open routine</source>
        <translation>打开例程</translation>
    </message>
    <message>
        <source>Save routine as</source>
        <translation>另存例程</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>%1; the last changes to %2 are lost</source>
        <translation>%1；%2 最后的改动已丢失</translation>
    </message>
    <message>
        <source>Routine not saved</source>
        <translation>例程未保存</translation>
    </message>
    <message>
        <source>%1 could not be saved:
%2</source>
        <translation>%1 无法保存：
%2</translation>
    </message>
    <message>
        <source>Save elsewhere…</source>
        <translation>另存到别处…</translation>
    </message>
    <message>
        <source>%1 was changed in another window; yours is kept as %2</source>
        <translation>%1 已在另一个窗口中被修改；你的版本保存为 %2</translation>
    </message>
</context>
<context>
    <name>sweepdraw::RoutineFiles</name>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>%1 is not UTF-8 text</source>
        <translation>%1 不是 UTF-8 文本</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>too large to be a routine</source>
        <translation>太大，不可能是例程</translation>
    </message>
    <message>
        <source>%1 is passed over: %2</source>
        <translation>%1 已跳过：%2</translation>
    </message>
</context>
<context>
    <name>sweepdraw::RoutineList</name>
    <message>
        <source>Routines</source>
        <translation>程序</translation>
    </message>
    <message>
        <source>%1 · scene</source>
        <translation>%1 · 场景</translation>
    </message>
    <message>
        <source>%1 · yours</source>
        <translation>%1 · 你的</translation>
    </message>
</context>
<context>
    <name>sweepdraw::StepMarker</name>
    <message>
        <source>Last point: (%1, %2) twips, pixel (%3, %4)</source>
        <translation>最后一点：(%1, %2) 缇，像素 (%3, %4)</translation>
    </message>
</context>
</TS>
