// Seed data of the reference configuration service: a JSON store file whose objects are written
// in the record notation of the cases.
//
//   { "dataDomain": "-", "inWorkApproval": false, "filter150": false,
//     "objects": [ { "UUID": "0a01", "Type": "PRC", "Name": "Bike", ... }, ... ] }
//
// Every object gives its UUID (hex), its Type (PRC, CV, PT, PS, CH, CO, MOD), and may give its
// Name, Environment ("CONFIG" when left out), owner (a UUID), attributes, milestones,
// currentFilter ({"filter", "mode", "filter150", "hideUnsolved"}), and the members of its
// type (reference/README.md lists them). A member the type does not have, a UUID given twice,
// or a reference to an object that is not there or not of the type it needs, refuses the file
// with a one-line message naming the place.
#pragma once

#include <string>

#include <oks/host/codec.h>
#include <oks/reference/store.h>

namespace oks::host {

// One object of a store file, and the store-file form of an object (members holding what a store
// file may leave out are left out). readStoreObject throws CaseError naming the member path.
reference::Object readStoreObject(const Json& j, const std::string& path);
Json storeObject(const reference::Object& object);

// Fills the store from a parsed store file; throws CaseError naming the member path.
void loadStore(const Json& j, reference::Store& store);
// Reads and loads a store file; throws std::runtime_error beginning with the file name.
void loadStoreFile(const std::string& file, reference::Store& store);
// Loads a store file into the database as one transaction, committed once every object is in and
// checked; throws as loadStoreFile, the transaction left uncommitted.
void importStoreFile(const std::string& file, reference::StoreBackend& database);

}  // namespace oks::host
