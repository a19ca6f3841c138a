// What a comparison keeps that no reading of text shows: bookmarks, notes cited twice, styles
// that deleted content brings along, the marks' authors whatever their names, words inside
// smart tags and custom XML, shapes that converters number anew; and the variants of the
// comparison: for the office (changed block controls unwrapped), and with tables skipped.
#include "KeptContent.h"

using namespace docx;
using namespace kept;

// A bookmark of the revised document between two paragraphs, and one that begins before a
// changed paragraph, stay where they stand: links and cross references lead to them.
TEST_F(KeptContent, BookmarksBetweenParagraphsStay) {
    const std::string between =
        "<w:bookmarkStart w:id=\"7\" w:name=\"Between\"/>"
        "<w:bookmarkEnd w:id=\"7\"/>";
    compare(kFirst + Text("Old words here.") + kLast,
            kFirst + between + Text("New words here.") + between + kLast);
    const std::string xml = part("word/document.xml");
    EXPECT_EQ(Count(xml, "w:name=\"Between\""), 2) << xml;
    EXPECT_EQ(Count(xml, "<w:bookmarkEnd w:id=\"7\"/>"), 2);
}

// A new paragraph citing a note its document lacks (a writer's slip) is the one change: no
// empty note is listed beside it.
TEST_F(KeptContent, ANewReferenceToAMissingNoteListsNoNote) {
    const auto changes = compare(kFirst + kLast, kFirst + P(R("Cited ") + NoteReference(7)) + kLast,
                                 {}, Notes({{1, Text("The only note there is.")}}));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].part, redline::Part::Body);
}

// A bookmark inside a paragraph whose words changed stays around the words it marks.
TEST_F(KeptContent, ABookmarkInAChangedParagraphStaysAroundItsWords) {
    auto paragraph = [](const std::string& word) {
        return P(R("The fee is ") + "<w:bookmarkStart w:id=\"3\" w:name=\"Fee\"/>" +
                 R("ten pounds") + "<w:bookmarkEnd w:id=\"3\"/>" + R(" paid " + word + "."));
    };
    compare(kFirst + paragraph("monthly"), kFirst + paragraph("yearly"));
    const std::string xml = part("word/document.xml");
    const std::size_t start = xml.find("w:name=\"Fee\""),
                      end = xml.find("<w:bookmarkEnd w:id=\"3\"/>");
    ASSERT_NE(start, std::string::npos) << xml;
    ASSERT_NE(end, std::string::npos) << xml;
    EXPECT_NE(xml.substr(start, end - start).find("ten pounds"), std::string::npos) << xml;
}

// An inserted paragraph that cites one note twice brings the note in once, inserted.
TEST_F(KeptContent, ANoteCitedTwiceByAnInsertedParagraphComesInOnce) {
    const DocxParts note = Notes({{1, Text("The note's own words.")}});
    const auto changes = compare(
        kFirst + kLast,
        kFirst + P(R("Cited ") + NoteReference(1) + R(" and cited again ") + NoteReference(1)) +
            kLast,
        {}, note);
    const std::string notes = part("word/footnotes.xml");
    EXPECT_EQ(Count(notes, "The note's own words."), 1) << notes;
    EXPECT_EQ(Count(notes, "<w:footnote w:id=\"1\""), 1) << notes;
    EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
              redline::ReadText(a_, redline::Reading::AcceptAll));
    // The note is new with the paragraph, and listed so, once.
    std::vector<std::string> listed;
    for (const auto& change : changes) {
        if (change.part == redline::Part::Footnote) listed.push_back(change.text);
    }
    EXPECT_EQ(listed, std::vector<std::string>{"The note's own words."});
}

// Deleted content in a style only the original has brings that style, with the styles it is
// based on, once each; a style both have stays the revised one's.
TEST_F(KeptContent, DeletedContentBringsItsStyleOnce) {
    DocxParts styles;
    styles.parts["word/styles.xml"] =
        "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name "
        "w:val=\"Normal\"/></w:style><w:style w:type=\"paragraph\" w:styleId=\"Quote\">"
        "<w:name w:val=\"Quote\"/><w:basedOn w:val=\"Plain\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Plain\"><w:name w:val=\"Plain\"/>"
        "<w:basedOn w:val=\"Normal\"/><w:rPr><w:i/></w:rPr></w:style>"
        "<w:style w:type=\"character\" w:styleId=\"Strong\"><w:name w:val=\"Strong\"/>"
        "<w:rPr><w:b/></w:rPr></w:style></w:styles>";
    // The control's own formatting, in a paragraph that stays, names a style too.
    const std::string control =
        "<w:sdt><w:sdtPr><w:rPr><w:rStyle w:val=\"Strong\"/></w:rPr></w:sdtPr><w:sdtContent>" +
        R("a signed clause") + "</w:sdtContent></w:sdt>";
    compare(kFirst + P(R("Quoted words that go."), "<w:pStyle w:val=\"Quote\"/>") +
                P(R("Plain words that go."), "<w:pStyle w:val=\"Normal\"/>") +
                P(R("It ends with ") + control) + kLast,
            kFirst + Text("It ends with ") + kLast, styles);
    const std::string result = part("word/styles.xml");
    for (const char* id : {"Quote", "Plain", "Normal", "Strong"}) {
        EXPECT_EQ(Count(result, std::string("w:styleId=\"") + id + "\""), 1) << id << "\n"
                                                                             << result;
    }
}

// Whatever the author's name holds, every mark carries it and the date, and the result is a
// well-formed document (the check that CheckedCompare makes).
TEST_F(KeptContent, EveryMarkCarriesItsAuthorAndDateWhateverTheName) {
    for (const std::string author :
         {"Ada Lovelace", "O'Brien & \"Sons\" <legal>", "Zoë 😀 Ångström", "Tab\there"}) {
        redline::CompareOptions options;
        options.author = author;
        options.date = "2026-12-08T10:00:00Z";
        compare(kFirst + Text("Old words.") + kLast, kFirst + Text("New words.") + kLast, {}, {},
                options);
        pugi::xml_document xml;
        ASSERT_TRUE(xml.load_string(part("word/document.xml").c_str()));
        int marks = 0;
        for (const char* name : {"//w:ins", "//w:del"}) {
            for (const pugi::xpath_node& mark : xml.select_nodes(name)) {
                ++marks;
                EXPECT_EQ(std::string(mark.node().attribute("w:author").value()), author);
                EXPECT_STREQ(mark.node().attribute("w:date").value(), "2026-12-08T10:00:00Z");
            }
        }
        EXPECT_GT(marks, 0) << author;
    }
}

// Words inside a smart tag or inline custom XML are compared as words: a changed one is marked,
// and the word diff and the report see it.
TEST_F(KeptContent, WordsInsideSmartTagsAndCustomXmlAreCompared) {
    for (const char* wrapper : {"w:smartTag", "w:customXml"}) {
        auto wrapped = [&](const std::string& city) {
            return P(R("Meet in ") + "<" + wrapper + " w:element=\"place\">" + R(city) + "</" +
                     wrapper + ">" + R(" on Monday."));
        };
        const auto changes = compare(kFirst + wrapped("Paris"), kFirst + wrapped("Rome"));
        ASSERT_EQ(changes.size(), 2u) << wrapper;
        EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
                  redline::ReadText(a_, redline::Reading::AcceptAll))
            << wrapper;
        const std::string shown = shownChanges();
        EXPECT_EQ(shown, "Paris;Rome;") << wrapper;
    }
}

// A word changed inside a block-level content control is read back by the report and the word
// diff, where the control stands.
TEST_F(KeptContent, AWordChangedInABlockControlIsShown) {
    auto control = [](const std::string& days) {
        return "<w:sdt><w:sdtPr><w:tag w:val=\"terms\"/></w:sdtPr><w:sdtContent>" +
               Text("Payment in " + days + " days.") + "</w:sdtContent></w:sdt>";
    };
    compare(kFirst + control("thirty") + kLast, kFirst + control("sixty") + kLast);
    const std::string shown = shownChanges();
    EXPECT_EQ(shown, "thirty;sixty;");
}

// A block of custom XML around paragraphs stays, its paragraphs compared inside as a control's
// are, and the change list, the word diff and the report all show the words that changed.
TEST_F(KeptContent, ABlockOfCustomXmlIsComparedInsideAndShown) {
    auto block = [](const std::string& word) {
        return "<w:customXml w:element=\"clause\">" + Text("The fee is " + word + " pounds.") +
               "</w:customXml>";
    };
    const auto changes = compare(kFirst + block("ten") + kLast, kFirst + block("twelve") + kLast);
    std::string listed;
    for (const auto& change : changes) listed += change.text + ";";
    EXPECT_EQ(listed, "ten;twelve;");
    EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
              redline::ReadText(a_, redline::Reading::AcceptAll));
    const std::string shown = shownChanges();
    EXPECT_EQ(shown, "ten;twelve;");
}

// Shapes and objects that a converter numbers anew (VML shape ids, o:spid, wp14 ids) are the
// same shapes.
TEST_F(KeptContent, ShapesNumberedAnewAreTheSame) {
    auto shape = [](const std::string& id, const std::string& spid) {
        return P(
            R("A line: ") + "<w:r><w:pict><v:line id=\"" + id + "\" o:spid=\"" + spid +
            "\" from=\"0,0\" to=\"100pt,0\" xmlns:o=\"urn:schemas-microsoft-com:office:office\"/>"
            "</w:pict></w:r>");
    };
    EXPECT_TRUE(compare(kFirst + shape("_x0000_s1026", "_x0000_s1026"),
                        kFirst + shape("_x0000_s2049", "_x0000_s2049"))
                    .empty());
}

// For the office, a block-level content control that holds changes gives way to its content
// (the office shows no change inside one); an unchanged control stays.
TEST_F(KeptContent, ForTheOfficeChangedBlockControlsGiveWayToTheirContent) {
    auto control = [](const std::string& tag, const std::string& words) {
        return "<w:sdt><w:sdtPr><w:tag w:val=\"" + tag + "\"/></w:sdtPr><w:sdtContent>" +
               Text(words) + "</w:sdtContent></w:sdt>";
    };
    redline::CompareOptions forWriter;
    forWriter.forWriter = true;
    compare(kFirst + control("changed", "Old words inside.") + control("kept", "Same words."),
            kFirst + control("changed", "New words inside.") + control("kept", "Same words."),
            Header(control("changed", "An old heading.")),
            Header(control("changed", "A new heading.")), forWriter);
    for (const char* name : {"word/document.xml", "word/header-default.xml"}) {
        const std::string xml = part(name);
        EXPECT_EQ(xml.find("w:val=\"changed\""), std::string::npos) << xml;
    }
    EXPECT_NE(part("word/document.xml").find("w:val=\"kept\""), std::string::npos);
    EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
              redline::ReadText(a_, redline::Reading::AcceptAll));
}

// Tables skipped: their paragraphs are still compared, each as a plain paragraph, the first
// cell's as any other's, and the table stays the revised one's.
TEST_F(KeptContent, SkippedTablesStillCompareEveryCellsWords) {
    redline::CompareOptions skip;
    skip.skip.tables = true;
    const auto changes = compare(
        kFirst + Table({{"Ada Lovelace", "Paris"}, {"Grace Hopper", "Arlington, Virginia"}}),
        kFirst + Table({{"Adah Lovelace", "Paris"}, {"Grace Hopper", "Washington, Virginia"}}), {},
        {}, skip);
    std::string listed;
    for (const auto& change : changes) {
        listed += change.text + ";";
        EXPECT_EQ(change.part, redline::Part::Table) << change.text;
    }
    EXPECT_EQ(listed, "Ada;Adah;Arlington;Washington;");
}

// A picture the original alone shows, named as some writers name it (in capitals), keeps a
// picture's content type in the result: a word processor shows no part typed otherwise.
TEST_F(KeptContent, APictureBroughtAlongKeepsItsTypeWhateverTheCaseOfItsName) {
    DocxParts picture;
    picture.parts["word/media/Image1.PNG"] = Png(0x40);
    picture.relationships["rIdPic0"] = {"image", "media/Image1.PNG"};
    compare(kFirst + P(R("A picture: ") + Picture("rIdPic0")) + kLast, kFirst + kLast, picture);
    pugi::xml_document types;
    ASSERT_TRUE(types.load_string(part("[Content_Types].xml").c_str()));
    std::string carried;
    const redline::Package result = redline::Package::Read(r_);
    for (const std::string& name : result.names()) {
        if (name.ends_with(".PNG")) carried = name;
    }
    ASSERT_FALSE(carried.empty());
    std::string type;
    for (const pugi::xml_node& node : types.document_element().children()) {
        std::string key = node.attribute("Extension").value();
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (std::string(node.name()) == "Default" && key == "png" && type.empty()) {
            type = node.attribute("ContentType").value();
        }
        if (std::string(node.attribute("PartName").value()) == "/" + carried) {
            type = node.attribute("ContentType").value();
        }
    }
    EXPECT_EQ(type, "image/png");
}

// A revised document written without a styles part (as scripts write them): deleted content in
// a style of the original still compares, and rejecting gives its words back.
TEST_F(KeptContent, DeletedStyledContentComparesWhereTheRevisedHasNoStyles) {
    WriteDocx(a_, kFirst + P(R("A heading that goes"), "<w:pStyle w:val=\"Heading1\"/>") + kLast);
    WriteDocx(b_, kFirst + kLast);
    ZipEntries entries = ReadZip(b_), kept;
    for (const auto& entry : entries) {
        if (entry.first != "word/styles.xml") kept.push_back(entry);
    }
    for (auto& [name, bytes] : kept) {
        if (name == "word/_rels/document.xml.rels") {
            bytes.erase(bytes.find("<Relationship Id=\"rIdStyles\""),
                        bytes.find("/>", bytes.find("rIdStyles")) + 2 -
                            bytes.find("<Relationship Id=\"rIdStyles\""));
        }
    }
    WriteZip(b_, kept);
    EXPECT_EQ(redline::Count(CheckedCompare(a_, b_, r_)).deletions, 1);
    EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
              redline::ReadText(a_, redline::Reading::AcceptAll));
}

// What makes no visible difference is no change: a run's language, proofing marks, revision
// sessions.
TEST_F(KeptContent, LanguageProofingAndSessionsAreNoChange) {
    const auto changes = compare(
        kFirst + P(R("Bonjour tout le monde.", "<w:lang w:val=\"fr-FR\"/>")),
        kFirst +
            "<w:p w:rsidR=\"00AB12CD\"><w:r w:rsidRPr=\"00CD34EF\"><w:rPr><w:noProof/>"
            "<w:lang w:val=\"en-GB\"/></w:rPr><w:t>Bonjour tout le monde.</w:t></w:r></w:p>");
    EXPECT_TRUE(changes.empty()) << changes.size() << " changes, the first "
                                 << (changes.empty() ? "" : changes[0].text);
}

// A part the original's deleted content brings into the result, which neither package gives a
// type, is typed by what its name says: an embedded object as an OLE object, a picture as one.
TEST_F(KeptContent, ACarriedPartNeitherPackageTypesIsTypedByItsName) {
    DocxParts parts;
    parts.parts["word/media/image1.png"] = Png(0x40);
    parts.relationships["rIdPic0"] = {"image", "media/image1.png"};
    parts.parts["word/embeddings/sheet.bin"] = "a workbook";
    parts.relationships["rIdSheet"] = {"oleObject", "embeddings/sheet.bin"};
    compare(kFirst + P(R("A book: ") + EmbeddedObject()) + kLast, kFirst + kLast, parts);
    const std::string types = part("[Content_Types].xml");
    EXPECT_NE(types.find("vnd.openxmlformats-officedocument.oleObject"), std::string::npos)
        << types;
    EXPECT_EQ(types.find("wordprocessingml.document\""), std::string::npos) << types;
}

// A bookmark inside a link, in a paragraph whose words changed, stays inside the link, which
// stays one link.
TEST_F(KeptContent, ABookmarkInsideALinkStaysInsideIt) {
    DocxParts link;
    link.relationships["rIdLink"] = {"hyperlink", "https://example.org/terms"};
    auto paragraph = [](const std::string& word) {
        return P(R("See the ") + "<w:hyperlink r:id=\"rIdLink\">" + R("terms ") +
                 "<w:bookmarkStart w:id=\"3\" w:name=\"Terms\"/>" + R("here") +
                 "<w:bookmarkEnd w:id=\"3\"/></w:hyperlink>" + R(" " + word + "."));
    };
    compare(kFirst + paragraph("today"), kFirst + paragraph("tomorrow"), link, link);
    const std::string xml = part("word/document.xml");
    EXPECT_EQ(Count(xml, "<w:hyperlink "), 1) << xml;
    const std::size_t open = xml.find("<w:hyperlink "), close = xml.find("</w:hyperlink>");
    const std::size_t bookmark = xml.find("w:name=\"Terms\"");
    EXPECT_TRUE(open < bookmark && bookmark < close) << xml;
}

// A chart that deleted content brings along keeps the type its package gave it, and an
// equation with a fraction deleted whole gives it back whole when rejected, its bar too.
TEST_F(KeptContent, ACarriedChartKeepsItsTypeAndAFractionItsBar) {
    DocxParts chart;
    chart.parts["word/charts/chart1.xml"] = Chart("111", "222", "7");
    chart.relationships["rIdChart"] = {"chart", "charts/chart1.xml"};
    chart.contentTypes["word/charts/chart1.xml"] =
        "application/vnd.openxmlformats-officedocument.drawingml.chart+xml";
    const std::string fraction =
        "<m:oMath><m:f><m:num><m:r><m:t>1</m:t></m:r></m:num><m:den><m:r><m:t>2</m:t></m:r>"
        "</m:den></m:f></m:oMath>";
    compare(kFirst + P(R("A chart: ") + ChartDrawing()) + P(R("Half: ") + fraction) + kLast,
            kFirst + kLast, chart);
    const std::string types = part("[Content_Types].xml");
    EXPECT_NE(types.find("drawingml.chart+xml"), std::string::npos) << types;
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Reject), CanonicalDocument(a_));
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept), CanonicalDocument(b_));
}
