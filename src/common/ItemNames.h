#pragma once

#include <QString>

// Names the main window and the logic share: the window builds its items under
// these names, and the logic and the tests refer to them only through here.

namespace zorneta::menu {

// The objectName of every menu, submenu and menu item of the main window, in menu order;
// the logic runs a command by its item's name.
inline const QString mnuFile = QStringLiteral("mnuFile");
inline const QString mnuOpenLog = QStringLiteral("mnuOpenLog");
inline const QString mnuCloseLog = QStringLiteral("mnuCloseLog");
inline const QString mnuFileExit = QStringLiteral("mnuFileExit");
inline const QString mnuView = QStringLiteral("mnuView");
inline const QString mnuViewUpdate = QStringLiteral("mnuViewUpdate");
inline const QString mnuViewPeriod = QStringLiteral("mnuViewPeriod");
inline const QString mnuViewAxisX = QStringLiteral("mnuViewAxisX");
inline const QString mnuViewColor = QStringLiteral("mnuViewColor");
inline const QString mnuViewIndicator = QStringLiteral("mnuViewIndicator");
inline const QString mnuLegendShow = QStringLiteral("mnuLegendShow");
inline const QString mnuPort = QStringLiteral("mnuPort");
inline const QString mnuOpen = QStringLiteral("mnuOpen");
inline const QString mnuProperties = QStringLiteral("mnuProperties");
inline const QString mnuTemp = QStringLiteral("mnuTemp");
inline const QString mnuSigTemp = QStringLiteral("mnuSigTemp");
inline const QString mnuCutStart = QStringLiteral("mnuCutStart");
inline const QString mnuGraphAll = QStringLiteral("mnuGraphAll");
inline const QString mnuGraphEnd = QStringLiteral("mnuGraphEnd");
inline const QString mnuCopyData = QStringLiteral("mnuCopyData");
inline const QString mnuInsertData = QStringLiteral("mnuInsertData");
inline const QString mnuGetInMind = QStringLiteral("mnuGetInMind");
inline const QString mnuFromMemory = QStringLiteral("mnuFromMemory");
inline const QString mnuClearMemory = QStringLiteral("mnuClearMemory");
inline const QString mnuNewSession = QStringLiteral("mnuNewSession");
inline const QString mnuAppl = QStringLiteral("mnuAppl");
inline const QString mnuhelp = QStringLiteral("mnuhelp");
inline const QString mnuContent = QStringLiteral("mnuContent");
inline const QString mnuLirant = QStringLiteral("mnuLirant");
inline const QString mnuAbout = QStringLiteral("mnuAbout");
inline const QString mnuMouse = QStringLiteral("mnuMouse");
inline const QString mnuReNew = QStringLiteral("mnuReNew");
inline const QString mnuY064Sec = QStringLiteral("mnuY064Sec");
inline const QString mnuY64Sec = QStringLiteral("mnuY64Sec");
inline const QString mnuY32Sec = QStringLiteral("mnuY32Sec");
inline const QString mnuY1min = QStringLiteral("mnuY1min");
inline const QString mnuY5min = QStringLiteral("mnuY5min");
inline const QString mnuY10min = QStringLiteral("mnuY10min");
inline const QString mnuRead = QStringLiteral("mnuRead");
inline const QString mnuR064Sec = QStringLiteral("mnuR064Sec");
inline const QString mnuR3Sec = QStringLiteral("mnuR3Sec");
inline const QString mnuR12Sec = QStringLiteral("mnuR12Sec");
inline const QString mnuR1min = QStringLiteral("mnuR1min");
inline const QString mnuR2min = QStringLiteral("mnuR2min");
inline const QString mnuR5min = QStringLiteral("mnuR5min");
inline const QString mnuGraphProper = QStringLiteral("mnuGraphProper");
inline const QString mnuColor = QStringLiteral("mnuColor");
inline const QString mnuIndicatorColor = QStringLiteral("mnuIndicatorColor");
inline const QString mnuBackColor = QStringLiteral("mnuBackColor");
inline const QString mnuPenColor = QStringLiteral("mnuPenColor");
inline const QString mnuCurveColor = QStringLiteral("mnuCurveColor");
inline const QString mnuLegendColor = QStringLiteral("mnuLegendColor");
inline const QString mnuChartColor = QStringLiteral("mnuChartColor");
inline const QString mnuPlotColor = QStringLiteral("mnuPlotColor");
inline const QString mnuAxisTitle = QStringLiteral("mnuAxisTitle");
inline const QString mnuColorX = QStringLiteral("mnuColorX");
inline const QString mnuAxisYColor = QStringLiteral("mnuAxisYColor");
inline const QString mnuAxisY2Color = QStringLiteral("mnuAxisY2Color");
inline const QString mnuShowLegend = QStringLiteral("mnuShowLegend");
inline const QString mnuRefresh = QStringLiteral("mnuRefresh");
inline const QString mnuAxisXTitle = QStringLiteral("mnuAxisXTitle");
inline const QString mnuGridXSec = QStringLiteral("mnuGridXSec");
inline const QString mnuAutoTickDivis = QStringLiteral("mnuAutoTickDivis");
inline const QString mnuX064Sec = QStringLiteral("mnuX064Sec");
inline const QString mnuX64Sec = QStringLiteral("mnuX64Sec");
inline const QString mnuX32Sec = QStringLiteral("mnuX32Sec");
inline const QString mnuX1min = QStringLiteral("mnuX1min");
inline const QString mnuX5min = QStringLiteral("mnuX5min");
inline const QString mnuX10min = QStringLiteral("mnuX10min");
inline const QString mnuX26min = QStringLiteral("mnuX26min");

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
inline const QString DialPhoneNumber = QStringLiteral("DialPhoneNumber");
inline const QString Legend = QStringLiteral("Legend");
inline const QString CopySnap = QStringLiteral("CopySnap");
inline const QString PasteSnap = QStringLiteral("PasteSnap");
inline const QString DeleteSnap = QStringLiteral("DeleteSnap");
inline const QString GraphEnd = QStringLiteral("GraphEnd");
inline const QString GraphStart = QStringLiteral("GraphStart");
inline const QString GraphAll = QStringLiteral("GraphAll");
inline const QString HangUpPhone = QStringLiteral("HangUpPhone");
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
