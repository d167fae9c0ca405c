// Look-up command templates: values become whole arguments, whatever they
// hold, and addresses get them percent-encoded.
#include "querystate/lookup_command.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(LookupCommandTest, ValuesStayWholeArgumentsAndAddressesAreEncoded) {
  const LookupValues v{u"λόγος", u"a b\"; rm -rf x", u"John 1:1", u"/opt/my look"};
  EXPECT_EQ(ExpandLookupCommand(u"/opt/look \"--ref=%r\" %w %l 100%% %x \"\"", v),
            (std::vector<std::u16string>{u"/opt/look", u"--ref=John 1:1", u"λόγος",
                                         u"a b\"; rm -rf x", u"100%", u"%x", u""}));
  EXPECT_TRUE(ExpandLookupCommand(u"  ", v).empty());
  // The located program is one piece too; "%%p" is no program.
  EXPECT_EQ(ExpandLookupCommand(u"%p %w", v),
            (std::vector<std::u16string>{u"/opt/my look", u"λόγος"}));
  EXPECT_TRUE(UsesLocatedProgram(u"x %w %p"));
  EXPECT_FALSE(UsesLocatedProgram(u"x %%p %w"));
  EXPECT_EQ(ExpandLookupUri(u"x:q|text=%l|ref=%r", {u"", u"λό", u"J 1", u""}),
            u"x:q|text=%CE%BB%CF%8C|ref=J%201");
}

}  // namespace
}  // namespace vorn
