#pragma once

// Internal state shared by Document and its handles (Table, Cursor, FormField). Not part of
// the engine's public interface.

#include "platform/docengine/DocTypes.h"
#include "platform/docengine/DocxPackage.h"

#include <QHash>
#include <QString>

#include <pugixml.hpp>

#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

namespace velmora::docengine {

// The styles part of a new document, also the one given to a document that has none.
extern const char kBlankStyles[];

// One XML part of the package with its relationships.
struct XmlPart {
    QString name;
    pugi::xml_document xml;
    pugi::xml_document rels; // empty document when the part has no relationships
    bool modified = false;

    // Id of a new relationship of this part.
    QString addRelationship(const char* type, const QString& target);
    // Target part name of relationship `id`, empty when unknown.
    QString relationshipTarget(const QString& id) const;
};

// A table of the document with its rows, kept so that filling a long table costs
// constant time per cell.
struct TableState {
    pugi::xml_node node; // empty once the table has been removed from the document
    XmlPart* part = nullptr;
    std::vector<pugi::xml_node> rows;
};

struct FieldSpan {
    pugi::xml_node begin;    // run holding fldChar begin
    pugi::xml_node separate; // run holding fldChar separate (may be empty)
    pugi::xml_node end;      // run holding fldChar end
    pugi::xml_node ffData;   // form-field data of the begin fldChar (may be empty)
};

struct DocumentData {
    DocxPackage package;
    XmlPart main;
    std::unordered_map<std::string, std::unique_ptr<XmlPart>> otherParts; // parsed on demand
    pugi::xml_document contentTypes;
    QString path;
    bool isTemplate = false;
    QString originalMainType;

    // Lookup indexes over the main part, rebuilt lazily after removals.
    bool indexDirty = true;
    QHash<QString, pugi::xml_node> fieldsByName;      // form-field name -> begin run
    QHash<QString, pugi::xml_node> fieldsByLowerName; // same, by lower-case name
    QHash<QString, pugi::xml_node> bookmarksByName;   // bookmark name -> bookmarkStart
    QHash<QString, pugi::xml_node> bookmarksByLowerName;
    std::unordered_map<std::string, pugi::xml_node> bookmarkEnds; // w:id -> bookmarkEnd
    // Each bookmark start indexed with its own end: the first end of its id that follows it
    // (empty when none does). Ids are meant to be unique, but a document that shares one must
    // not send every later bookmark to an end behind it and so walk the rest of the document.
    std::unordered_map<pugi::xml_node_struct*, pugi::xml_node> bookmarkEndByStart;
    // Each bookmark start indexed with the begin run of the field it lies in among its
    // siblings (empty when none), found in one pass per paragraph instead of a walk back
    // from every bookmark.
    std::unordered_map<pugi::xml_node_struct*, pugi::xml_node> fieldAroundBookmark;
    int nextBookmarkId = 1;
    int nextDrawingId = 1;

    bool tablesDirty = true;
    std::vector<TableState*> topTables;
    std::deque<TableState> tableStates;
    std::unordered_map<pugi::xml_node_struct*, TableState*> stateByNode;

    // Bumped whenever nodes are removed, so that handles holding nodes can tell they are stale.
    quint64 generation = 0;

    pugi::xml_node body() const { return main.xml.child("w:document").child("w:body"); }
    pugi::xml_node finalSectPr() const;
    PageSetup pageSetup() const;

    void ensureIndex();
    void indexFieldsAroundBookmarks(const std::vector<pugi::xml_node>& starts);
    void ensureTables();
    TableState* stateFor(pugi::xml_node table, XmlPart* part);
    void noteTableInserted() { tablesDirty = true; }

    // Removes a node, keeping the indexes and the table handles honest.
    void removeNode(pugi::xml_node n);
    void beforeRemoving(pugi::xml_node n);

    pugi::xml_node findBookmark(const QString& name);
    pugi::xml_node bookmarkEndOf(pugi::xml_node start);
    void setBookmarkEnd(pugi::xml_node start, pugi::xml_node end);
    // Begin run of the unclosed field before `start` among its siblings, or empty.
    pugi::xml_node fieldBeginAround(pugi::xml_node start);
    pugi::xml_node findFieldBegin(const QString& name);

    // Parsed auxiliary part (styles, settings, headers, footers), or nullptr when absent.
    XmlPart* auxPart(const QString& partName);
    XmlPart* partByRelType(const char* type);
    XmlPart* createAuxPart(const QString& partName, const char* relType, const char* contentType,
                           const QByteArray& initialXml);

    // Registers image bytes as a media part related to `part`; returns the relationship id.
    QString addImage(XmlPart& part, const QByteArray& bytes, const QString& extension);
    void ensureDefaultContentType(const QString& extension, const char* contentType);
    void setOverrideContentType(const QString& partName, const char* contentType);
    QString contentTypeOf(const QString& partName) const;

    // Serialises the parsed parts back into the package.
    void flushParts();
};

// Locates the parts of the field whose begin run is `beginRun`.
bool locateField(pugi::xml_node beginRun, FieldSpan& span);
// The fldChar element of a run, or empty.
pugi::xml_node fldCharOf(const pugi::xml_node& run);
QString runsText(pugi::xml_node from, pugi::xml_node to);
// Begin run of the form field called `name`: by the field's own name, else by the bookmark of
// that name (the field enclosing its start, or the first form field inside it).
pugi::xml_node resolveFormField(DocumentData& d, const QString& name);
// Number of form fields in a part: begin runs carrying form-field data or a FORM instruction.
int countFormFields(const pugi::xml_node& root);
enum class FormFieldKind;
FormFieldKind formFieldKind(pugi::xml_node beginRun);

} // namespace velmora::docengine
