#pragma once

#include <QString>

// Names the main window and the logic share: the window builds its items under
// these names, and the logic and the tests refer to them only through here.

namespace zorneta::menu {

// The objectName of every menu, submenu and menu item of the main window, in
// menu order. The command each item runs is in common/Commands.h.
inline const QString RecordingMenu = QStringLiteral("mnuFile");
inline const QString OpenRecording = QStringLiteral("mnuOpenLog");
inline const QString CloseRecording = QStringLiteral("mnuCloseLog");
inline const QString Exit = QStringLiteral("mnuFileExit");
inline const QString ViewMenu = QStringLiteral("mnuView");
inline const QString ViewUpdatePeriods = QStringLiteral("mnuViewUpdate");
inline const QString ViewReadPeriods = QStringLiteral("mnuViewPeriod");
inline const QString ViewXDivisions = QStringLiteral("mnuViewAxisX");
inline const QString ViewColours = QStringLiteral("mnuViewColor");
inline const QString IndicatorOnOff = QStringLiteral("mnuViewIndicator");
inline const QString LegendOnOff = QStringLiteral("mnuLegendShow");
// Added after the view menu's own items: exploring the curve.
inline const QString WholeCurve = QStringLiteral("showWholeCurve");
inline const QString ClockTimeAxis = QStringLiteral("clockTimeAxis");
inline const QString PortMenu = QStringLiteral("mnuPort");
inline const QString OpenPort = QStringLiteral("mnuOpen");
inline const QString PortSettings = QStringLiteral("mnuProperties");
inline const QString GraphMenu = QStringLiteral("mnuTemp");
inline const QString AlarmTemperature = QStringLiteral("mnuSigTemp");
inline const QString CutGraphStart = QStringLiteral("mnuCutStart");
inline const QString WholeGraph = QStringLiteral("mnuGraphAll");
inline const QString GraphEndOnly = QStringLiteral("mnuGraphEnd");
inline const QString CopyData = QStringLiteral("mnuCopyData");
inline const QString InsertData = QStringLiteral("mnuInsertData");
inline const QString TakeSnapshot = QStringLiteral("mnuGetInMind");
inline const QString PasteSnapshot = QStringLiteral("mnuFromMemory");
inline const QString EraseSnapshot = QStringLiteral("mnuClearMemory");
inline const QString NewSession = QStringLiteral("mnuNewSession");
inline const QString GraphSettings = QStringLiteral("mnuAppl");
inline const QString HelpMenu = QStringLiteral("mnuhelp");
inline const QString HelpContents = QStringLiteral("mnuContent");
inline const QString PriceList = QStringLiteral("mnuLirant");
inline const QString About = QStringLiteral("mnuAbout");
// The review menu, right of the program's own menus.
inline const QString ReviewMenu = QStringLiteral("reviewMenu");
inline const QString ReviewRecording = QStringLiteral("reviewRecording");
inline const QString ExportSessionCsv = QStringLiteral("sessionExportCsv");
inline const QString ReportSession = QStringLiteral("sessionReport");
inline const QString ChartMenu = QStringLiteral("mnuMouse");
inline const QString UpdatePeriodMenu = QStringLiteral("mnuReNew");
inline const QString UpdateEvery1 = QStringLiteral("mnuY064Sec");
inline const QString UpdateEvery10 = QStringLiteral("mnuY64Sec");
inline const QString UpdateEvery50 = QStringLiteral("mnuY32Sec");
inline const QString UpdateEvery100 = QStringLiteral("mnuY1min");
inline const QString UpdateEvery500 = QStringLiteral("mnuY5min");
inline const QString UpdateEvery1000 = QStringLiteral("mnuY10min");
inline const QString ReadPeriodMenu = QStringLiteral("mnuRead");
inline const QString ReadEvery1 = QStringLiteral("mnuR064Sec");
inline const QString ReadEvery5 = QStringLiteral("mnuR3Sec");
inline const QString ReadEvery20 = QStringLiteral("mnuR12Sec");
inline const QString ReadEvery100 = QStringLiteral("mnuR1min");
inline const QString ReadEvery250 = QStringLiteral("mnuR2min");
inline const QString ReadEvery500 = QStringLiteral("mnuR5min");
inline const QString ChartGraphSettings = QStringLiteral("mnuGraphProper");
inline const QString ColourMenu = QStringLiteral("mnuColor");
inline const QString IndicatorColourMenu = QStringLiteral("mnuIndicatorColor");
inline const QString IndicatorBackColour = QStringLiteral("mnuBackColor");
inline const QString IndicatorTextColour = QStringLiteral("mnuPenColor");
inline const QString CurveColour = QStringLiteral("mnuCurveColor");
inline const QString LegendColour = QStringLiteral("mnuLegendColor");
inline const QString ChartColour = QStringLiteral("mnuChartColor");
inline const QString PlotColour = QStringLiteral("mnuPlotColor");
inline const QString AxisColourMenu = QStringLiteral("mnuAxisTitle");
inline const QString XAxisColour = QStringLiteral("mnuColorX");
inline const QString YAxisColour = QStringLiteral("mnuAxisYColor");
inline const QString Y2AxisColour = QStringLiteral("mnuAxisY2Color");
inline const QString ChartLegendOnOff = QStringLiteral("mnuShowLegend");
inline const QString Rescale = QStringLiteral("mnuRefresh");
inline const QString XAxisMenu = QStringLiteral("mnuAxisXTitle");
inline const QString XDivisionsMenu = QStringLiteral("mnuGridXSec");
inline const QString AutoXDivisions = QStringLiteral("mnuAutoTickDivis");
inline const QString XDivisions1 = QStringLiteral("mnuX064Sec");
inline const QString XDivisions10 = QStringLiteral("mnuX64Sec");
inline const QString XDivisions50 = QStringLiteral("mnuX32Sec");
inline const QString XDivisions100 = QStringLiteral("mnuX1min");
inline const QString XDivisions500 = QStringLiteral("mnuX5min");
inline const QString XDivisions1000 = QStringLiteral("mnuX10min");
inline const QString XDivisions2500 = QStringLiteral("mnuX26min");

} // namespace zorneta::menu

namespace zorneta::toolbar {

// The key of every toolbar button, in toolbar order; the button's objectName too.
inline const QString PortOpen = QStringLiteral("PortOpen");
inline const QString Properties = QStringLiteral("Properties");
inline const QString ClosePort = QStringLiteral("ClosePort");
inline const QString OpenLogFile = QStringLiteral("OpenLogFile");
inline const QString CloseLogFile = QStringLiteral("CloseLogFile");
inline const QString Copy = QStringLiteral("Copy");
inline const QString Paste = QStringLiteral("Paste");
inline const QString AlarmTemperature = QStringLiteral("DialPhoneNumber");
inline const QString Legend = QStringLiteral("Legend");
inline const QString CopySnap = QStringLiteral("CopySnap");
inline const QString PasteSnap = QStringLiteral("PasteSnap");
inline const QString DeleteSnap = QStringLiteral("DeleteSnap");
inline const QString GraphEnd = QStringLiteral("GraphEnd");
inline const QString GraphStart = QStringLiteral("GraphStart");
inline const QString GraphAll = QStringLiteral("GraphAll");
inline const QString GraphSettings = QStringLiteral("HangUpPhone");
inline const QString Help = QStringLiteral("Help");
inline const QString NewSession = QStringLiteral("NewSession");

} // namespace zorneta::toolbar

namespace zorneta::panel {

// The key of every status bar panel, left to right; the label's objectName too.
inline const QString Status = QStringLiteral("Status");
inline const QString Settings = QStringLiteral("Settings");
inline const QString Counter = QStringLiteral("Counter");
inline const QString ConnectTime = QStringLiteral("ConnectTime");

} // namespace zorneta::panel
