#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>
#include <memory>

#include <oks/host/reference/database.h>
#include <oks/host/reference/store_commands.h>
#include <oks/host/reference/store_file.h>
#include <oks/reference/reference_server.h>

namespace oks::host {
namespace {

using reference::Object;

// An object named on the command line: its UUID in hex, its name, or TYPE:NAME.
Object& namedObject(reference::Store& store, const std::string& text) {
  QEM_ProductTypes::Node node;
  if (_SEQUENCE_octet octets; !text.empty() && reference::fromHex(text, octets))
    if (Object* o = store.find(reference::toHex(octets))) return *o;
  std::string name = text;
  if (auto colon = text.find(':'); colon != std::string::npos) {
    node.Type = text.substr(0, colon);
    name = text.substr(colon + 1);
  }
  node.Name = name;
  auto found = store.backend().byName(name, node.Type, 2);
  if (found.empty()) throw StoreError(text + ": no object of that UUID or name");
  if (found.size() > 1)
    throw StoreError(text + ": more than one object has that name (give TYPE:NAME or the UUID)");
  return *store.find(found.front().uuid);
}

std::string versionOf(const Object& o) {
  if (o.is(reference::kind::ProductSpecification)) return o.spec.version;
  if (o.is(reference::kind::ConfigHandler)) return std::to_string(o.handler.version);
  return {};
}

// The tree below an object, one line per object: type, name, version, UUID.
void printTree(reference::Store& store, Object& o, int depth, int maxDepth, std::ostream& out, Json* json) {
  std::string version = versionOf(o);
  if (json) {
    *json = Json{{"UUID", o.uuid}, {"Type", o.type}, {"Name", o.name}};
    if (!version.empty()) (*json)["Version"] = version;
  } else {
    out << std::string(2 * static_cast<std::size_t>(depth), ' ') << o.type << " " << Json(o.name).dump()
        << (version.empty() ? "" : " " + version) << "  " << o.uuid << "\n";
  }
  if (maxDepth >= 0 && depth >= maxDepth) return;
  Json children = Json::array();
  for (Object* child : store.children(o)) {
    if (child->uuid == o.uuid) continue;
    Json childJson;
    printTree(store, *child, depth + 1, maxDepth, out, json ? &childJson : nullptr);
    if (json) children.push_back(std::move(childJson));
  }
  if (json && !children.empty()) (*json)["children"] = std::move(children);
}

// Runs a reading sub-command on the database in one transaction.
template <class F>
int reading(const std::string& location, F work) {
  auto database = Database::open(location, Database::Mode::Open);
  reference::ReferenceServer server(*database);
  server.store().begin();
  work(server);
  server.store().rollback();
  return exitPassed;
}

struct StoreArguments {
  std::string database, from, out, object, domain;
  bool force = false, json = false;
  int depth = -1;
};

int initStore(const StoreArguments& a, std::ostream& out) {
  auto database = Database::open(a.database, a.force ? Database::Mode::Replace : Database::Mode::Create);
  std::size_t objects = 0;
  try {
    if (!a.from.empty()) {
      importStoreFile(a.from, *database);
      database->forEach([&objects](const reference::StoredObject&) { ++objects; });
    }
  } catch (...) {
    // A store file the loader refuses makes no store.
    database->discard();
    throw;
  }
  if (a.json)
    out << Json{{"database", a.database}, {"objects", objects}}.dump() << "\n";
  else
    out << a.database << ": a new store of " << objects << " objects\n";
  return exitPassed;
}

int exportStore(const StoreArguments& a, std::ostream& out) {
  auto database = Database::open(a.database, Database::Mode::Open);
  reference::Store store(*database);
  Json objects = Json::array();
  // The settings and the objects of one transaction: no concurrent command's half.
  store.begin();
  database->forEach(
      [&](const reference::StoredObject& stored) { objects.push_back(Json::parse(stored.text)); });
  store.rollback();
  Json file{{"dataDomain", store.settings.dataDomain},
            {"inWorkApproval", store.settings.inWorkApproval},
            {"filter150", store.settings.filter150},
            {"objects", std::move(objects)}};
  if (a.out.empty()) {
    out << file.dump(2) << "\n";
  } else {
    std::ofstream file_out(a.out);
    file_out << file.dump(2) << "\n";
    if (!file_out) throw StoreError(a.out + ": cannot write the store file");
  }
  return exitPassed;
}

}  // namespace

void addStoreCommands(CommandLine& commandLine) {
  auto args = std::make_shared<StoreArguments>();
  struct Sub {
    CLI::App* app;
    std::function<int(std::ostream&)> run;
  };
  auto subs = std::make_shared<std::vector<Sub>>();
  CLI::App& store = commandLine.add(
      "store", "make, read and export reference store databases",
      "store init product.db --from examples/store.json",
      [subs](const HostOptions&) {
        for (const auto& sub : *subs)
          if (sub.app->parsed()) return sub.run(std::cout);
        return exitUnreadable;
      },
      true);
  store.require_subcommand(1);
  auto add = [&](const char* name, const char* description, std::function<int(std::ostream&)> run) {
    CLI::App* app = store.add_subcommand(name, description);
    app->footer(store.get_footer());
    app->add_option("DB", args->database, "the database: a file (SQLite) or a postgresql:// URI")->required();
    app->add_flag("--json", args->json, "print JSON");
    subs->push_back({app, std::move(run)});
    return app;
  };
  CLI::App* init = add("init", "make a new database, empty or holding a store file's objects",
                       [args](std::ostream& out) { return initStore(*args, out); });
  init->add_option("--from", args->from, "the store file (JSON) whose objects the database starts with");
  init->add_flag("--force", args->force, "replace an existing file, or the store in a server database");
  CLI::App* exported = add("export", "write the database's objects in the store-file form",
                           [args](std::ostream& out) { return exportStore(*args, out); });
  exported->add_option("--out", args->out, "the file to write (default: standard output)");
  CLI::App* tree = add("tree", "the product structure as an indented tree", [args](std::ostream& out) {
    return reading(args->database, [&](reference::ReferenceServer& server) {
      reference::Store& s = server.store();
      std::vector<Object*> roots;
      if (!args->object.empty())
        roots.push_back(&namedObject(s, args->object));
      else
        for (auto& stored : s.backend().linkedTo(reference::Link::Owner, "", nullptr))
          roots.push_back(s.find(stored.uuid));
      Json all = Json::array();
      for (Object* root : roots) {
        Json j;
        printTree(s, *root, 0, args->depth, out, args->json ? &j : nullptr);
        if (args->json) all.push_back(std::move(j));
      }
      if (args->json) out << all.dump(2) << "\n";
    });
  });
  tree->add_option("OBJECT", args->object, "the object at the top: UUID (hex), NAME or TYPE:NAME");
  tree->add_option("--depth", args->depth, "how many levels below the top to show");
  CLI::App* show = add("show", "every member of one object", [args](std::ostream& out) {
    return reading(args->database, [&](reference::ReferenceServer& server) {
      Object& o = namedObject(server.store(), args->object);
      Json j = storeObject(o);
      if (args->json) {
        out << j.dump(2) << "\n";
        return;
      }
      for (auto it = j.begin(); it != j.end(); ++it)
        out << it.key() << ": " << (it->is_string() ? it->get<std::string>() : it->dump()) << "\n";
    });
  });
  show->add_option("OBJECT", args->object, "UUID (hex), NAME or TYPE:NAME")->required();
  CLI::App* effectivity = add("effectivity", "the object's effectivity as text", [args](std::ostream& out) {
    return reading(args->database, [&](reference::ReferenceServer& server) {
      Object& o = namedObject(server.store(), args->object);
      std::string text = server.describeEffectivity(o, args->domain.empty() ? nullptr : &args->domain);
      if (args->json)
        out << Json{{"UUID", o.uuid}, {"effectivity", text}}.dump(2) << "\n";
      else
        out << text << "\n";
    });
  });
  effectivity->add_option("OBJECT", args->object, "UUID (hex), NAME or TYPE:NAME")->required();
  effectivity->add_option("--domain", args->domain, "only this domain's lines");
}

}  // namespace oks::host
