#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace marvolt {

// Vehicle kind codes shared by the database, the editor and the search address.
enum class VehicleKind : int { Cars = 0, Motorcycles = 1, Trucks = 2 };

struct MakeRow {
    int id = 0;
    std::string name;
    bool cars = false;
    bool motorcycles = false;
    bool trucks = false;
};

struct ModelRow {
    int id = 0;
    int idMake = 0;
    VehicleKind kind = VehicleKind::Cars;
    std::string name;
};

// The site's makes and models as shipped in db/; ids are the site's own.
const std::vector<MakeRow>& ReferenceMakes();
const std::vector<ModelRow>& ReferenceModels();

// The schema's statements in file order, comments and blank lines removed.
std::vector<std::string> SchemaStatements();

}  // namespace marvolt
