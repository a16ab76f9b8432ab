// The Corvelle test host's harness: it plays the file manager around the
// plug-in module under Wine (or Windows) and looks at the viewer from outside,
// through real window messages.
//
// Usage, in any tests/host/*Test.cpp (all of them go into corvelle-host.exe):
//
//   #include "Harness.h"
//   using namespace corvelle::host;
//
//   TEST(DumpPage, ShowsTheReport) {
//     CORVELLE_REQUIRE_PLUGIN();                  // fails clearly without the module
//     TempDir dir;                                // removed at the end of the test
//     std::string pdb = dir.Write("memo.pdb", PalmDatabase::WithRecords(3).Image());
//     ListerWindow lister;                        // top-level; ListerKind::Embedded for a child
//     HWND frame = lister.Open(pdb);              // ListLoad; ListCloseWindow at scope end
//     ViewerParts parts = FindViewerParts(frame); // frame, sheet, tab control, dump page, RICHEDIT 1051
//     ASSERT_TRUE(parts.IsComplete()) << DescribeTree(frame);
//     EXPECT_EQ(ControlText(parts.dumpControl), corvelle::DumpPalmFile(pdb.c_str()));
//     SetFocus(parts.dumpControl);
//     MessageLog frameLog(frame);                 // what the frame receives
//     PressKeyOnFocus('W');                       // posted through the queue, hook included
//     PressKey(parts.dumpControl, '2', kCtrl);    // Ctrl held in the keyboard state
//     PluginModule::Get().ListSendCommand(frame, kListCommandSelectAll);
//     PumpMessages();                             // the host's loop: posted commands act here
//   }
//
// The module is loaded once per process, as the file manager does, from
// --module=PATH, the CORVELLE_MODULE variable, or Corvelle.wlx / .wlx64 beside
// the host program. Module-wide state (the ListSetDefaultParams path, the
// options file found) therefore carries over from test to test: a test that
// depends on it sets it itself.
#pragma once

#include "ListerWindow.h"
#include "MessagePump.h"
#include "PluginModule.h"
#include "ResourceCounts.h"
#include "RichEditQueries.h"
#include "TestFiles.h"
#include "WindowTree.h"
