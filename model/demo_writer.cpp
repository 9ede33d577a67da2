// Writing the demo file: the document is built with the Xerces-C DOM, serialised
// to memory, and then written through a checked temporary file (checked_file.h).
#include "checked_file.h"
#include "demo.h"
#include "xml_text.h"

#include <cstdio>
#include <string>

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufFormatTarget.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLUni.hpp>

using namespace xercesc;

namespace {

typedef std::basic_string<XMLCh> XString;
XString X(const char* s) {
    return XmlFromLocal(s);
}

void SetAttr(DOMElement* e, const char* name, const char* value) {
    e->setAttribute(X(name).c_str(), X(value ? value : "").c_str());
}

void SetAttr(DOMElement* e, const char* name, long value) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%ld", value);
    SetAttr(e, name, buffer);
}

DOMElement* Append(DOMDocument* doc, DOMNode* parent, const char* name) {
    DOMElement* e = doc->createElement(X(name).c_str());
    parent->appendChild(e);
    return e;
}

void BuildDocument(DOMDocument* doc, const DemoStruct& demo) {
    DOMElement* root = doc->getDocumentElement();
    DOMElement* libraries = Append(doc, root, "Libraries");
    for (uint32_t l = 0; l < demo.libraryCount; l++) {
        const EffectLibrary& lib = demo.libraries[l];
        DOMElement* libElement = Append(doc, libraries, "Library");
        SetAttr(libElement, "FileName", lib.fileName);
        for (uint32_t f = 0; f < lib.functionCount; f++) {
            const EffectFunction& fn = lib.functions[f];
            DOMElement* fnElement = Append(doc, libElement, "Function");
            SetAttr(fnElement, "Name", fn.name);
            for (uint32_t p = 0; p < fn.paramCount; p++)
                SetAttr(Append(doc, fnElement, "Param"), "Name", fn.paramNames ? fn.paramNames[p] : nullptr);
        }
    }

    DOMElement* demoElement = Append(doc, root, "Demo");
    DOMElement* settings = Append(doc, demoElement, "Settings");
    SetAttr(settings, "RunningTime", (long)demo.runningTime);
    SetAttr(settings, "UseOpenGL", demo.useOpenGL ? "true" : "false");
    SetAttr(settings, "NumberOfInputSurfaces", (long)demo.inputSurfaceCount);
    SetAttr(settings, "InputMusicFile", demo.inputMusicFile);
    DOMElement* summary = Append(doc, demoElement, "Summary");
    // A group or extra info typed without an author must survive the save too.
    if (demo.author || demo.group || demo.extraInfo) {
        const char* texts[3][2] = {
            {"Author", demo.author}, {"Group", demo.group}, {"ExtraInfo", demo.extraInfo}};
        for (auto& t : texts)
            Append(doc, summary, t[0])->appendChild(doc->createTextNode(X(t[1] ? t[1] : "").c_str()));
    }

    for (uint32_t t = 0; t < demo.trackCount; t++) {
        const DemoTrack& track = demo.tracks[t];
        DOMElement* trackElement = Append(doc, demoElement, "Track");
        for (uint32_t e = 0; e < track.eventCount; e++) {
            const DemoEvent& ev = track.events[e];
            DOMElement* eventElement = Append(doc, trackElement, "Event");
            SetAttr(eventElement, "LibraryFileName", ev.libraryFileName);
            SetAttr(eventElement, "FunctionName", ev.functionName);
            SetAttr(eventElement, "StartTime", (long)ev.startTime);
            SetAttr(eventElement, "EndTime", (long)ev.endTime);
            for (uint32_t p = 0; p < ev.paramCount; p++) {
                DOMElement* param = Append(doc, eventElement, "param");
                SetAttr(param, "start", (long)ev.startValues[p]);
                SetAttr(param, "end", (long)ev.endValues[p]);
            }
        }
    }
}

void ReportSaveError(const char* what, const XMLCh* message) {
    char* text = LocalFromXml(message);
    fprintf(stderr, "%sException message is: \n%s\n", what, text);
    FreeString(text);
}

} // namespace

bool SaveDemoFile(const char* path, const DemoStruct* demo, const SaveOptions* options, SaveReport* report) {
    if (report) *report = SaveReport();
    if (!demo || !path) {
        fprintf(stderr, "An error occurred while saving demo to XML file: there is no demo to save.\n");
        return false;
    }
    // The whole document is made in memory first, so nothing touches the disk
    // until it is complete, and every write of it can be checked.
    bool written = false;
    XMLPlatformUtils::Initialize();
    DOMLSSerializer* writer = nullptr;
    DOMLSOutput* output = nullptr;
    MemBufFormatTarget* target = nullptr;
    DOMDocument* doc = nullptr;
    std::string bytes;
    try {
        DOMImplementation* impl = DOMImplementationRegistry::getDOMImplementation(X("LS").c_str());
        writer = static_cast<DOMImplementationLS*>(impl)->createLSSerializer();
        DOMConfiguration* config = writer->getDomConfig();
        if (config->canSetParameter(XMLUni::fgDOMWRTFormatPrettyPrint, true))
            config->setParameter(XMLUni::fgDOMWRTFormatPrettyPrint, true);
        doc = impl->createDocument(nullptr, X("VorlenDemoFile").c_str(), nullptr);
        doc->setXmlVersion(X("1.0").c_str());
        BuildDocument(doc, *demo);
        output = static_cast<DOMImplementationLS*>(impl)->createLSOutput();
        output->setEncoding(X("windows-1252").c_str());
        target = new MemBufFormatTarget();
        output->setByteStream(target);
        written = writer->write(doc, output);
        if (written)
            bytes.assign((const char*)target->getRawBuffer(), target->getLen());
        else
            fprintf(stderr, "An error occurred while saving demo to XML file: the writer failed.\n");
    } catch (const XMLException& e) {
        ReportSaveError("An XML error occurred while saving demo to XML file.", e.getMessage());
    } catch (const DOMException& e) {
        ReportSaveError("A DOM error occurred while saving demo to XML file.", e.getMessage());
    } catch (...) {
        fprintf(stderr, "An error occurred while saving demo to XML file.\n");
    }
    delete target;
    if (output) output->release();
    if (writer) writer->release();
    if (doc) doc->release();
    XMLPlatformUtils::Terminate();
    if (!written) return false;

    std::string error;
    if (!ReplaceFileChecked(path, bytes.data(), bytes.size(), options && options->keepBackup, error)) {
        fprintf(stderr, "An XML error occurred while saving demo to XML file.Exception message is: \n%s\n",
                error.c_str());
        return false;
    }
    return true;
}
