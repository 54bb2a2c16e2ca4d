// Driver and file names stand on the analysis dialogs' boxes as they are
// spelt, "&" and tags included.

#include "gui/graphs/NewGraph.h"
#include "gui/graphs/StintAnalyzer.h"
#include "gui/graphs/TimeDiffForGraph.h"
#include "gui/graphs/TractionCircle.h"

#include "support/document/LapDocument.h"

#include "ShownText.h"

#include <QCheckBox>
#include <QGroupBox>

namespace vra::test {
namespace {

TEST(LapNames, ShowAsTheyAreSpelt) {
    LapDocument lapDoc("lapnames");
    lapDoc.builder.desc.drivers[0].lastName = "<i>M&M</i>";
    lapDoc.Open();
    const auto weird = lapDoc.Write("Weird r\xc3\xa9 <x>&.rpy");
    lapDoc.AddLap(weird, 0, 2);
    lapDoc.AddLap(weird, 0, 3);
    ASSERT_EQ(lapDoc.doc->LapCount(), 2);
    const QString driver = QStringLiteral("A <i>M&M</i> ");

    NewGraph graph(lapDoc.doc.get());
    EXPECT_TRUE(ShownText(*graph.LapBox(0)).startsWith(driver)) << ShownText(*graph.LapBox(0)).toStdString();
    graph.LapBox(0)->click();
    graph.LapBox(1)->click();
    graph.TimeDiffBox()->click();
    ASSERT_TRUE(graph.TimeDiff());
    EXPECT_TRUE(ShownText(*graph.TimeDiff()->findChild<QGroupBox*>()).startsWith(driver));

    TractionCircle traction(*lapDoc.doc);
    EXPECT_TRUE(ShownText(*traction.LapBox(1)).startsWith(driver));

    StintAnalyzer stints(*lapDoc.doc, lapDoc.prompts, lapDoc.waitBox);
    EXPECT_EQ(ShownText(*stints.ReplayBox(0)), QString::fromUtf8("1 Weird r\xc3\xa9 <x>&"));
}

}  // namespace
}  // namespace vra::test
